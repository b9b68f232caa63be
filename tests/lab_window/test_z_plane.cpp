// The Laboratoire's z-plane: the poles drawn where the polynomial's roots
// are, the limit gain against the hand-worked figures, the panel in place
// of the measures and back, the gain under the mouse.
#include "lab_rig.h"
#include "lab_window/z_plane.h"
#include "model/poles.h"
#include "picture/colours.h"

#include <QMouseEvent>

#include <cmath>

using namespace t1;
using namespace t1::testing;

namespace {

using Complex = std::complex<double>;

model::Parameters proportional(double g, double delay = 0)
{
    model::Parameters p;
    p.field(model::Regulator::P, model::kGainField) = g;
    p.oven.delay = delay;
    return p;
}

class ZPlaneTest : public LabRig {
protected:
    void SetUp() override
    {
        LabRig::SetUp();
        click(lab->zPlaneButton);
    }
    // Where the panel says it draws z, in the scene.
    QPoint scenePixel(Complex z) const
    {
        const QPointF at = lab->zPlane->scale().at(z) + QPointF(ZPlane::panel().topLeft());
        return {static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y()))};
    }
    QRgb sceneAt(QPoint p) const { return scene().image().pixel(p); }
    QImage panelPixels() const { return scene().image().copy(ZPlane::panel()); }
    QString said() const { return lab->zPlane->accessibleDescription(); }
};

}  // namespace

// Each root of the characteristic polynomial is a red cross at the pixel the
// panel's scale gives it, inside the plot: a pole far out (-3,7), a delay's
// pair, the pole the deadbeat PI cancels, and the oven's own in open loop.
TEST_F(ZPlaneTest, EveryPoleIsDrawnWhereTheScalePutsTheRoot)
{
    const double a = std::exp(-model::kLessonRatio);
    model::Parameters deadbeat;
    deadbeat.regulator = model::Regulator::PI;
    deadbeat.fieldsOf(model::Regulator::PI) = model::deadbeat({model::kLessonRatio, 1});
    model::Parameters manual;
    manual.regulator = model::Regulator::Manual;
    for (const model::Parameters& p : {proportional(2), proportional((a + 3.7) / (1 - a)),
                                       proportional(2, model::kLessonRatio), deadbeat, manual}) {
        lab->setParameters(p);
        const ZPlaneScale& s = lab->zPlane->scale();
        // One scale on both axes: the circle is round.
        EXPECT_NEAR(std::abs(s.at(1).x() - s.at(0).x()), std::abs(s.at(Complex(0, 1)).y() - s.at(0).y()), 1e-9);
        const Complex back = s.planeAt(s.at(Complex(0.3, -0.2)));
        EXPECT_NEAR(std::abs(back - Complex(0.3, -0.2)), 0, 1e-12);
        const std::vector<Complex> roots = model::closedLoopRoots(p, 1);
        ASSERT_FALSE(roots.empty());
        for (const Complex& z : roots) {
            const QPoint at = scenePixel(z);
            EXPECT_TRUE(s.plot().translated(ZPlane::panel().topLeft()).contains(at)) << z.real();
            EXPECT_EQ(sceneAt(at), colour::red) << z.real() << " " << z.imag();
        }
    }
    EXPECT_TRUE(said().contains(QStringLiteral("pas de boucle")));
}

// 8-bit, E = 100, T = T1/5: G limite = (1 + a)/(1 - a) = 10,03 where the pole
// leaves by -1, 1/(1 - a) = 5,52 with a period of delay; the PID's locus
// runs along Kp.
TEST_F(ZPlaneTest, TheLimitGainIsWrittenWhereTheLocusLeavesTheCircle)
{
    lab->setParameters(proportional(2));
    EXPECT_TRUE(said().contains(QStringLiteral("G limite = 10,03"))) << said().toStdString();
    EXPECT_EQ(sceneAt(scenePixel(-1)), colour::maroon);
    lab->setParameters(proportional(2, model::kLessonRatio));
    EXPECT_TRUE(said().contains(QStringLiteral("G limite = 5,52"))) << said().toStdString();
    ASSERT_TRUE(lab->zPlane->locus() && lab->zPlane->locus()->crossing);
    EXPECT_EQ(sceneAt(scenePixel(*lab->zPlane->locus()->crossing)), colour::maroon);
    model::Parameters pid;
    pid.regulator = model::Regulator::PID;
    lab->setParameters(pid);
    EXPECT_TRUE(said().contains(QStringLiteral("Kp limite = "))) << said().toStdString();
}

// The panel takes the measures' place and gives it back as it was; a tick
// does not draw the measures over it, a field's change draws it anew.
TEST_F(ZPlaneTest, ThePanelReplacesTheMeasuresAndGivesThemBack)
{
    click(lab->zPlaneButton);
    EXPECT_FALSE(lab->zPlane->isVisible());
    EXPECT_TRUE(lab->poles->isVisible());
    const QImage measures = panelPixels();
    click(lab->zPlaneButton);
    EXPECT_TRUE(lab->zPlane->isVisible());
    EXPECT_FALSE(lab->poles->isVisible() || lab->measures->isVisible());
    const QImage panel = panelPixels();
    EXPECT_NE(panel, measures);
    click(lab->startButton);
    periods(2);
    EXPECT_EQ(panelPixels(), panel);
    EXPECT_FALSE(lab->measuresShown().isEmpty());
    type(gain(), "5");
    EXPECT_NE(panelPixels(), panel);
    type(gain(), "2");
    EXPECT_EQ(panelPixels(), panel);
    click(lab->restartButton);
    click(lab->zPlaneButton);
    EXPECT_EQ(panelPixels(), measures);
}

// The mouse on the locus shows the gain of the point under it.
TEST_F(ZPlaneTest, TheMouseOnTheLocusShowsTheGainThere)
{
    lab->setParameters(proportional(2));
    const model::RootLocus& locus = *lab->zPlane->locus();
    const std::vector<model::LocusPoint>& branch = locus.branches.front();
    const model::LocusPoint& point = branch[branch.size() / 2];
    const QPointF at = lab->zPlane->scale().at(point.z);
    QMouseEvent move(QEvent::MouseMove, at, lab->zPlane->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(lab->zPlane, &move);
    const QString expected = QStringLiteral("G = ") + QString::number(2 * point.factor, 'f', 2).replace('.', ',');
    EXPECT_EQ(lab->zPlane->pointed(), expected);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(lab->zPlane, &leave);
    EXPECT_TRUE(lab->zPlane->pointed().isEmpty());
}
