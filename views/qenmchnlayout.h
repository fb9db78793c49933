#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

// Geometry of the compartment picture, kept apart from painting so that it
// can be checked number by number.

// Containers of the picture, left to right. (The picture shows the arterial
// blood, which the simulation's compartment arrays do not hold.)
enum class MchnPart { CKT, ALV, ART, VRG, MUS, FAT, VEN };
inline constexpr int MchnPartCount = 7;

// A container's frame lies on the columns left and right and on the rows top
// and bottom. Its inside runs from innerTop down to, but not including, the
// frame's bottom row.
struct MchnLayout
{
    std::array<QRect, MchnPartCount> containers;
    int margin = 0;   // 15 % of the widget height, above and below the containers
    int textBand = 0; // room for the label and value rows
    int bottom = 0;   // the common bottom of all containers

    const QRect &operator[](MchnPart p) const { return containers[size_t(p)]; }
};

MchnLayout mchnLayout(const QRect &widget, int fontHeight, bool valuesHidden);

// Pixel size of the names and values under the containers for a picture of
// `size` whose own font is `basePx` high: a 14th of the height or a 40th of
// the width, whichever is less, so that the numbers grow with the picture
// (and can be read when projected) yet never run into each other; never
// below the base, never above three times it.
int mchnTextPixelSize(const QSize &size, int basePx);

// Row where the fill of a container at level (percent) begins; the fill runs
// down to, not including, the frame's bottom row, so level 0 fills nothing.
int mchnFillTop(const QRect &container, int level);
// Row of the MAC line at level mac (percent); drawn only when mchnMacVisible.
int mchnMacRow(const QRect &container, int mac);
bool mchnMacVisible(const QRect &container, int row);

// The connecting lines of the picture, as polylines.
struct MchnPipes
{
    QRect lungEllipse; // the left quarter of this ellipse is the lung outline
    int arcLeft = 0;
    std::array<QPoint, 3> wedge;
    std::array<QPoint, 3> upperLimb;
    std::array<QPoint, 3> lowerLimb;
    // Arteries: lung to ART, ART down and across to FAT, risers to MUS and VRG.
    std::array<QPoint, 4> arteryOut;
    std::array<QPoint, 4> arteryRun;
    std::array<QPoint, 2> arteryMus;
    std::array<QPoint, 2> arteryVrg;
    // Veins: risers from FAT, MUS and VRG, the run into VEN, VEN back to the lung.
    std::array<QPoint, 2> veinFat;
    std::array<QPoint, 2> veinMus;
    std::array<QPoint, 4> veinRun;
    std::array<QPoint, 4> veinBack;
};

MchnPipes mchnPipes(const MchnLayout &layout);
