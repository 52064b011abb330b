#include "processor/OrvalenProcessor.h"

void OrvalenProcessor::run()
{
    while (! threadShouldExit())
        wait (2);
}
