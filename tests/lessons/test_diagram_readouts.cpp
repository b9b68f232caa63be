#include "tests/support/lesson_rig.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace t1::testing {

namespace {

constexpr QRgb kMarker = fromBgr(0x123456);
// The diagram's values and regulator label, down to the feedback line.
const QRect kReadoutBand(0, 55, 700, 105);

// Where the lessons' descriptions set their erase boxes and regulator patch
// apart: the E box is 10 x 10 in the open-loop lessons, the disturbance
// lesson under PI has a wider S box for its hundredths, the PI loop lesson a
// second X box reaching lower, and the P lessons' patch wipes only the gain
// line. Corners are the first pixels a box leaves out.
struct Wipes {
    const char* lesson;
    QPoint eCorner;
    int sRight;
    int xBottom;
    bool wholePatch;
};
constexpr Wipes kWipes[] = {
    {"open loop", {20, 70}, 665, 148, true},       {"closed loop P", {30, 75}, 665, 148, false},
    {"closed loop PI", {30, 75}, 665, 150, true},  {"disturbance model", {20, 70}, 665, 148, true},
    {"disturbance P", {30, 75}, 665, 148, false},  {"disturbance PI", {30, 75}, 675, 148, true},
};

// The lesson's first tick over a diagram painted in the marker colour.
void firstTickOverMarker(LessonRig& rig, const LessonRow& lesson)
{
    rig.start(lesson);
    Canvas& w = rig.window();
    w.setPenAndBrush(kMarker);
    w.rectangle(kReadoutBand.left(), kReadoutBand.top(), kReadoutBand.right() + 1, kReadoutBand.bottom() + 1);
    rig.runTo(lesson.band.start + 1);
}

// Wiped: the background, or a value printed over it since.
bool wiped(const Canvas& w, int x, int y)
{
    return w.pixel(x, y) != kMarker;
}

bool kept(const Canvas& w, int x, int y)
{
    return w.pixel(x, y) != colour::btnFace;
}

// The pixels a text at (x, y) inks in the window's font.
std::vector<QPoint> inkOf(const QString& text, int x, int y)
{
    Canvas c(kSurfaceWidth, kSurfaceHeight, colour::white);
    c.setFontColour(colour::black);
    c.setFontSize(fonts::pt7);
    c.textOut(x, y, text);
    std::vector<QPoint> ink;
    for (int py = y - 4; py < y + 20; ++py)
        for (int px = x - 4; px < x + 40; ++px)
            if (c.pixel(px, py) == colour::black)
                ink.emplace_back(px, py);
    return ink;
}

bool inked(const Canvas& w, const std::vector<QPoint>& ink)
{
    for (const QPoint& p : ink)
        if (w.pixel(p.x(), p.y()) != colour::blue)
            return false;
    return !ink.empty();
}

}  // namespace

TEST(DiagramReadouts, EachLessonWipesWhereItsDescriptionSays)
{
    for (const Wipes& row : kWipes) {
        LessonRig rig;
        const LessonRow& lesson = *lessonNamed(row.lesson);
        firstTickOverMarker(rig, lesson);
        const Canvas& w = rig.window();
        const char* name = lesson.runName;
        const QPoint e = row.eCorner;
        EXPECT_TRUE(wiped(w, e.x() - 1, e.y() - 1)) << name;
        EXPECT_TRUE(kept(w, e.x(), e.y() - 1)) << name;
        EXPECT_TRUE(kept(w, e.x() - 1, e.y())) << name;
        EXPECT_TRUE(wiped(w, row.sRight - 1, 74)) << name;
        EXPECT_TRUE(kept(w, row.sRight, 74)) << name;
        EXPECT_TRUE(wiped(w, 116, row.xBottom - 1)) << name;
        EXPECT_TRUE(kept(w, 116, row.xBottom)) << name;
        // The gain line's patch, and the rest of the label's.
        EXPECT_EQ(w.pixel(199, 90), colour::red) << name;
        EXPECT_EQ(w.pixel(200, 90), row.wholePatch ? colour::red : kMarker) << name;
        EXPECT_EQ(w.pixel(143, 77), row.wholePatch ? colour::red : kMarker) << name;
    }
}

// "T" and "2T" under the U plot: at (175, 280) and (210, 280), but for the
// PI loop lesson at (173, 283) and (208, 283); under the S plot at (525, 280)
// and (560, 280) in all four sampled lessons.
TEST(DiagramReadouts, PeriodLabelsOfTheSampledLessons)
{
    const auto common = {inkOf(QStringLiteral("T"), 175, 280), inkOf(QStringLiteral("2T"), 210, 280)};
    const auto lowered = {inkOf(QStringLiteral("T"), 173, 283), inkOf(QStringLiteral("2T"), 208, 283)};
    const auto underS = {inkOf(QStringLiteral("T"), 525, 280), inkOf(QStringLiteral("2T"), 560, 280)};
    for (const char* name : {"closed loop P", "closed loop PI", "disturbance P", "disturbance PI"}) {
        LessonRig rig;
        const LessonRow& lesson = *lessonNamed(name);
        rig.start(lesson);
        rig.runTo(lesson.band.start + 1);
        const bool pi = std::string_view(name) == "closed loop PI";
        for (const auto& ink : common)
            EXPECT_EQ(inked(rig.window(), ink), !pi) << lesson.runName;
        for (const auto& ink : lowered)
            EXPECT_EQ(inked(rig.window(), ink), pi) << lesson.runName;
        for (const auto& ink : underS)
            EXPECT_TRUE(inked(rig.window(), ink)) << lesson.runName;
    }
}

}  // namespace t1::testing
