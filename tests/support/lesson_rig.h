#pragma once

#include "lessons/scene.h"
#include "picture/block_diagram.h"
#include "picture/number_text.h"
#include "picture/sprites.h"

#include <QLocale>
#include <QRect>
#include <QString>

#include <string>

namespace t1::testing {

struct FakeControls : LessonControls {
    int commentButton = 0;
    int recurrenceBox = 0;
    void showCommentButton() override { ++commentButton; }
    void showRecurrenceBox() override { ++recurrenceBox; }
};

// A window as the program has it when a lesson starts: sprites built and the
// block diagram painted, which leaves the blue 7 pt text font.
struct LessonRig {
    Scene scene;
    FakeControls controls;

    LessonRig()
    {
        scene.controls = &controls;
        buildSprites(scene.surfaces);
        drawBlockDiagram(scene.surfaces.window);
    }

    Canvas& window() { return scene.surfaces.window; }
    Canvas& fond() { return scene.surfaces.fond; }

    // The start button: clears the lesson area and sets the start code.
    void start(int code)
    {
        clearLessonArea(window());
        scene.st.gSceneTick = code;
    }

    // A menu click: back to idle, the lesson area cleared.
    void leave()
    {
        clearLessonArea(window());
        scene.st.gSceneTick = 0;
    }

    // Timer ticks until the clock reaches `clock` or stops moving.
    void runTo(int clock)
    {
        while (scene.st.gSceneTick < clock) {
            const int before = scene.st.gSceneTick;
            sceneTick(scene);
            if (scene.st.gSceneTick == before)
                return;
        }
    }
};

// How many pixels of that colour an area holds.
inline int countIn(const Canvas& c, const QRect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

// The readouts as printed, and the oven's caption, on one line.
inline std::string readouts(const LoopValues& v)
{
    const QString line = QStringLiteral("E %1 Ep %2 Epu %3 U %4 S %5 X %6 T %7")
                             .arg(ceilingText(v.gE), ceilingText(v.gEp), ceilingText(v.gEpu), numberText(v.gU),
                                  numberText(v.gS), ceilingText(v.gX), ceilingText(v.gTemperature));
    return line.toStdString();
}

// French decimal commas for the duration of a test.
struct FrenchNumbers {
    FrenchNumbers() { QLocale::setDefault(QLocale(QLocale::French)); }
    ~FrenchNumbers() { QLocale::setDefault(m_saved); }
    QLocale m_saved;
};

}  // namespace t1::testing
