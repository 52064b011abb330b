#include "editor/LiveCurveRegions.h"

#include <algorithm>
#include <cmath>

void LiveCurveRegions::compute (const Geometry& geometry,
                                const std::vector<float>& liveRows,
                                const std::vector<float>& peakRows,
                                const juce::RectangleList<int>& extra)
{
    geo = geometry;
    redrawn.clear();
    filled.clear();
    floors.clear();

    const auto columns = (int) std::max (liveRows.size(), peakRows.size());
    if (columns > 0)
    {
        // The pixel column of the last point lies right of the fill.
        const auto lastX = geo.plotLeft + columns - 1;
        addTile (geo.plotLeft - strokeReach, geo.plotLeft, false, liveRows, peakRows);
        for (int x = geo.plotLeft; x < lastX; x += tileWidth)
            addTile (x, std::min (x + tileWidth, lastX), true, liveRows, peakRows);
        addTile (lastX, lastX + strokeReach + 1, false, liveRows, peakRows);
    }

    const juce::Rectangle<int> bounds (geo.width, geo.height);
    redrawn.add (extra);
    redrawn.clipTo (bounds);
    filled.clipTo (bounds);
    redrawnFilled = redrawn;
    redrawnFilled.clipTo (filled);
}

void LiveCurveRegions::closeFill (juce::Path& livePath, float plotRight) const
{
    if (floors.empty())
        return;
    livePath.lineTo (plotRight, (float) floors.back().y);
    for (auto it = floors.rbegin(); it != floors.rend(); ++it)
    {
        livePath.lineTo ((float) it->x1, (float) it->y);
        livePath.lineTo ((float) it->x0, (float) it->y);
    }
    livePath.closeSubPath();
}

juce::Range<int> LiveCurveRegions::bandOf (const std::vector<float>& rows, int firstColumn, int lastColumn) const
{
    firstColumn = std::max (firstColumn, 0);
    lastColumn = std::min (lastColumn, (int) rows.size() - 1);
    if (lastColumn < firstColumn)
        return {};

    const auto [lo, hi] = std::minmax_element (rows.begin() + firstColumn, rows.begin() + lastColumn + 1);
    const auto top = (int) std::floor (*lo) - strokeReach;
    const auto bottom = (int) std::ceil (*hi) + strokeReach;
    return { std::clamp (top, 0, geo.height), std::clamp (bottom, 0, geo.height) };
}

void LiveCurveRegions::addTile (int x0,
                                int x1,
                                bool insideFill,
                                const std::vector<float>& liveRows,
                                const std::vector<float>& peakRows)
{
    x0 = std::max (x0, 0);
    x1 = std::min (x1, geo.width);
    if (x1 <= x0)
        return;

    // Strokes reach into the neighbouring tiles.
    const auto first = x0 - geo.plotLeft - strokeReach;
    const auto last = x1 - 1 - geo.plotLeft + strokeReach;
    const auto live = bandOf (liveRows, first, last);
    const auto peak = bandOf (peakRows, first, last);
    for (const auto band : { live, peak })
        if (! band.isEmpty())
            redrawn.add ({ x0, band.getStart(), x1 - x0, band.getLength() });

    if (! insideFill || liveRows.empty())
        return;
    const auto y = live.isEmpty() ? geo.plotBottom : std::min (live.getEnd(), geo.plotBottom);
    floors.push_back ({ x0, x1, y });
    if (y < geo.plotBottom)
        filled.add ({ x0, y, x1 - x0, geo.plotBottom - y });
}
