#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

// Splits the spectrum display, for one paint, into the pixels that the live
// curves (and the hover read-out) can touch and the pixels that cached
// pictures already show as they will look. The plot is cut into narrow
// column tiles; in each, only a band around the live and peak rows is drawn
// again, and everything below the live band is known to lie inside the fill.
class LiveCurveRegions
{
public:
    struct Geometry
    {
        int width = 0, height = 0;
        int plotLeft = 0, plotBottom = 0;
    };

    // Columns per tile (narrower tiles redraw fewer pixels but cost more
    // rectangles), and how far a stroke may reach from the points it passes
    // through: a mitred joint of the 1.2-pixel peak line ends within
    // 0.6 + 3 x 1.2 pixels (longer mitres are bevelled), plus anti-aliasing.
    static constexpr int tileWidth = 32;
    static constexpr int strokeReach = 6;

    // liveRows and peakRows hold one row per plot column or are empty; a live
    // curve is filled down to the plot's bottom. `extra` is redrawn as well.
    void compute (const Geometry& geometry,
                  const std::vector<float>& liveRows,
                  const std::vector<float>& peakRows,
                  const juce::RectangleList<int>& extra);

    // Closes the live polyline into its fill, down to the top of the region
    // that is already shown filled, then back to the plot's left edge.
    void closeFill (juce::Path& livePath, float plotRight) const;

    // Disjoint rectangles: the part of the plot that is shown inside the fill
    // (below the live band), everything drawn again, and their overlap.
    juce::RectangleList<int> filled, redrawn, redrawnFilled;

private:
    struct Floor
    {
        int x0, x1, y;
    };

    juce::Range<int> bandOf (const std::vector<float>& rows, int firstColumn, int lastColumn) const;
    void addTile (int x0,
                  int x1,
                  bool insideFill,
                  const std::vector<float>& liveRows,
                  const std::vector<float>& peakRows);

    Geometry geo;
    std::vector<Floor> floors;
};
