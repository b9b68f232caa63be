#include "picture/block_diagram.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"
#include "picture/surfaces.h"
#include "tests/support/scoped_locale.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <vector>

namespace t1::testing {

namespace {

constexpr QRgb kMarker = fromBgr(0x123456);
constexpr QRgb kInk = fromBgr(0x654321);
// The block diagram's band, where the readouts live.
constexpr int kDiagramBottom = 170;
// Where the open branch cuts the feedback line.
constexpr Box kCut{70, 120, 90, 160};

// Boxes of these tests' own around the places of the values, two for X.
constexpr ReadoutBoxes kBoxes{
    .e = {8, 58, 33, 74},
    .ep = {108, 58, 131, 76},
    .epu = {238, 59, 262, 74},
    .u = {333, 57, 354, 73},
    .s = {643, 58, 670, 76},
    .x = {Box{113, 131, 141, 146}, Box{116, 140, 150, 152}},
    .xCount = 2,
};

ReadoutBoxes openBranch(ReadoutBoxes boxes)
{
    boxes.openFeedback = true;
    return boxes;
}

bool inside(const Box& b, int x, int y)
{
    return b.x1 <= x && x < b.x2 && b.y1 <= y && y < b.y2;
}

std::vector<Box> wipedBy(const ReadoutBoxes& b)
{
    std::vector<Box> boxes{b.e, b.ep, b.epu, b.u, b.s};
    for (const Box& x : b.xBoxes())
        boxes.push_back(x);
    if (b.openFeedback)
        boxes.push_back(kCut);
    return boxes;
}

// A window covered in a marker colour, printing in a colour of its own,
// so that whatever the readouts erase shows as background.
Canvas markedWindow()
{
    Canvas w(kSurfaceWidth, kSurfaceHeight, kMarker);
    w.setFontColour(kInk);
    w.setFontSize(fonts::pt7);
    return w;
}

LoopValues steadyP()
{
    LoopValues v;
    v.gE = 100;
    v.gEp = 18;
    v.gEpu = 82;
    v.gU = 3.2;
    v.gS = 3.2;
    v.gX = 82;
    v.gTemperature = 45.6;
    return v;
}

// The window with the block diagram, as a lesson finds it.
Canvas diagramWindow()
{
    Canvas w(kSurfaceWidth, kSurfaceHeight, colour::btnFace);
    drawBlockDiagram(w);
    return w;
}

bool sameArea(const Canvas& a, const Canvas& b, const QRect& r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

}  // namespace

// The boxes are wiped and nothing else above the lesson area is, but for the
// feedback cut of an open branch.
TEST(Readouts, WipeExactlyTheirBoxes)
{
    for (const ReadoutBoxes& boxes : {kBoxes, openBranch(kBoxes)}) {
        const char* name = boxes.openFeedback ? "open" : "closed";
        Canvas w = markedWindow();
        drawReadouts(w, steadyP(), boxes);
        const std::vector<Box> wiped = wipedBy(boxes);
        for (int y = 0; y < kDiagramBottom; ++y) {
            for (int x = 0; x < kSurfaceWidth; ++x) {
                bool inBox = false;
                for (const Box& b : wiped)
                    inBox = inBox || inside(b, x, y);
                const QRgb p = w.pixel(x, y);
                if (inBox)
                    ASSERT_TRUE(p == colour::btnFace || p == kInk || p == colour::red) << name << " at " << x << "," << y;
                else
                    ASSERT_TRUE(p != colour::btnFace) << name << " wiped " << x << "," << y;
            }
        }
        // Most of each box is background after the values are printed.
        for (const Box& b : wiped) {
            int background = 0;
            for (int y = b.y1; y < b.y2; ++y)
                for (int x = b.x1; x < b.x2; ++x)
                    background += w.pixel(x, y) == colour::btnFace;
            EXPECT_GT(2 * background, (b.x2 - b.x1) * (b.y2 - b.y1)) << name;
        }
    }
}

TEST(Readouts, ValuesLandAboveTheirNames)
{
    const ScopedLocale french;
    LoopValues v = steadyP();
    v.gU = 0.039 * 100;
    v.gX = 35.7;
    Canvas w = markedWindow();
    drawReadouts(w, v, kBoxes);

    Canvas expected = markedWindow();
    expected.setPenAndBrush(colour::btnFace);
    for (const Box& b : wipedBy(kBoxes))
        expected.rectangle(b.x1, b.y1, b.x2, b.y2);
    const struct {
        int x, y;
        const char* text;
    } printed[] = {{10, 60, "100"}, {110, 60, "18"},  {240, 60, "82"}, {335, 60, "3,9"},
                   {355, 60, "V"},  {645, 60, "3,2"}, {667, 60, "V"},  {115, 135, "36"}};
    for (const auto& p : printed)
        expected.textOut(p.x, p.y, QString::fromUtf8(p.text));
    EXPECT_TRUE(sameArea(w, expected, QRect(0, 0, kSurfaceWidth, kDiagramBottom)));
}

TEST(FeedbackBranch, OpenBranchCutsTheLineAndHoldsXAtZero)
{
    Canvas w = diagramWindow();
    drawReadouts(w, steadyP(), openBranch(kBoxes));
    // The upright part ends above the cut, on a bar.
    EXPECT_EQ(w.pixel(80, 119), colour::red);
    EXPECT_EQ(w.pixel(80, 130), colour::btnFace);
    EXPECT_EQ(w.pixel(80, 150), colour::btnFace);
    EXPECT_EQ(w.pixel(89, 150), colour::btnFace);
    for (int x = 70; x < 90; ++x)
        EXPECT_EQ(w.pixel(x, 120), colour::red) << x;
    EXPECT_EQ(w.pixel(90, 120), colour::btnFace);
    // Earth strokes: slanted down to the left, their end points left out.
    for (QPoint p : {QPoint(74, 121), QPoint(80, 121), QPoint(85, 121), QPoint(73, 123), QPoint(71, 126)})
        EXPECT_EQ(w.pixel(p.x(), p.y()), colour::red) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(71, 127), QPoint(77, 127), QPoint(82, 127)})
        EXPECT_EQ(w.pixel(p.x(), p.y()), colour::btnFace) << p.x() << "," << p.y();
    // Arrowhead on the cut end of the horizontal part.
    EXPECT_EQ(w.pixel(90, 150), colour::red);
    EXPECT_EQ(w.pixel(93, 147), colour::red);
    EXPECT_EQ(w.pixel(93, 153), colour::red);
    EXPECT_EQ(w.pixel(97, 143), colour::btnFace);
    EXPECT_EQ(w.pixel(97, 157), colour::btnFace);
}

TEST(FeedbackBranch, ClosedLoopRunsWholeIntoTheComparator)
{
    Canvas w = diagramWindow();
    drawReadouts(w, steadyP(), openBranch(kBoxes));
    w.setPenWidth(1);
    drawClosedFeedback(w);
    for (int y = 100; y <= 150; ++y)
        EXPECT_EQ(w.pixel(80, y), colour::red) << y;
    for (int x = 80; x < 150; ++x)
        EXPECT_EQ(w.pixel(x, 150), colour::red) << x;
    // The earth symbol is gone; the line is one pixel wide.
    EXPECT_EQ(w.pixel(70, 120), colour::btnFace);
    EXPECT_EQ(w.pixel(71, 126), colour::btnFace);
    EXPECT_EQ(w.pixel(79, 130), colour::btnFace);
    EXPECT_EQ(w.pixel(85, 151), colour::btnFace);
}

TEST(RegulatorLabel, RedPatchThenItsLinesInTheWindowsFont)
{
    constexpr RegulatorLabel kTwoLines{
        .patch = {150, 80, 210, 100},
        .lines = {Label{152, 78, u"réglage"}, Label{160, 90, u"G = 9"}},
        .lineCount = 2,
    };
    // As many lines as the label counts.
    for (int count : {2, 1}) {
        RegulatorLabel label = kTwoLines;
        label.lineCount = count;
        Canvas w = markedWindow();
        drawRegulatorLabel(w, label);
        Canvas expected = markedWindow();
        expected.setPenAndBrush(colour::red);
        expected.rectangle(150, 80, 210, 100);
        expected.textOut(152, 78, QStringLiteral("réglage"));
        if (count == 2)
            expected.textOut(160, 90, QStringLiteral("G = 9"));
        EXPECT_EQ(w.image(), expected.image()) << count << " lines";
        // The patch covers its first corner but not its second.
        EXPECT_EQ(w.pixel(150, 80), colour::red);
        EXPECT_EQ(w.pixel(209, 99), colour::red);
        EXPECT_EQ(w.pixel(210, 99), kMarker);
        EXPECT_EQ(w.pixel(209, 100), kMarker);
    }
}

TEST(PlotFrame, AxesArrowsAndPeriodMarks)
{
    Canvas w(kSurfaceWidth, kSurfaceHeight, colour::btnFace);
    drawPlotFrame(w);
    for (QPoint p : {QPoint(140, 180), QPoint(140, 309), QPoint(130, 300), QPoint(440, 300), QPoint(490, 180),
                     QPoint(490, 309), QPoint(790, 300), QPoint(134, 186), QPoint(784, 306)})
        EXPECT_EQ(w.pixel(p.x(), p.y()), colour::blue) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(140, 310), QPoint(133, 187), QPoint(147, 187), QPoint(791, 300), QPoint(180, 296)})
        EXPECT_EQ(w.pixel(p.x(), p.y()), colour::btnFace) << p.x() << "," << p.y();

    drawPeriodMarks(w);
    std::vector<int> marks;
    for (int x = 141; x < 430; ++x)
        if (w.pixel(x, 296) == colour::blue)
            marks.push_back(x);
    for (int x = 491; x < 780; ++x)
        if (w.pixel(x, 296) == colour::blue)
            marks.push_back(x);
    EXPECT_EQ(marks, (std::vector<int>{180, 220, 260, 300, 340, 380, 530, 570, 610, 650, 690, 730}));
    EXPECT_EQ(w.pixel(180, 295), colour::blue);
    EXPECT_EQ(w.pixel(180, 304), colour::blue);
    EXPECT_EQ(w.pixel(180, 305), colour::btnFace);
}

TEST(PlotFrame, TitlesAndPeriodLabels)
{
    constexpr PeriodLabels kLabels{
        Label{171, 284, u"T"}, Label{206, 284, u"2T"}, Label{527, 281, u"T"}, Label{562, 281, u"2T"}};
    Canvas w = markedWindow();
    drawPlotTitles(w, LeftTitle::DisturbanceQ);
    drawPeriodLabels(w, kLabels);
    Canvas expected = markedWindow();
    const struct {
        int x, y;
        const char* text;
    } printed[] = {{150, 180, "Perturbation Q"}, {500, 180, "S=(température-20)/8"},
                   {420, 285, "t"}, {770, 285, "t"}, {171, 284, "T"}, {206, 284, "2T"}, {527, 281, "T"},
                   {562, 281, "2T"}};
    for (const auto& p : printed)
        expected.textOut(p.x, p.y, QString::fromUtf8(p.text));
    EXPECT_EQ(w.image(), expected.image());

    Canvas command = markedWindow();
    drawPlotTitles(command, LeftTitle::CommandU);
    Canvas commandExpected = markedWindow();
    commandExpected.textOut(150, 180, QStringLiteral("Commande U"));
    EXPECT_TRUE(sameArea(command, commandExpected, QRect(140, 170, 200, 30)));
}

}  // namespace t1::testing
