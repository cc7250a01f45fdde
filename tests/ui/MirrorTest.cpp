// A right-to-left language mirrors every window: the windows lay out in left-to-right
// design pixels, and each control lands at its mirrored place inside its parent.
#include "UiTest.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/views/Picture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

class MirrorTest : public ::testing::Test {
protected:
    void TearDown() override { QGuiApplication::setLayoutDirection(Qt::LeftToRight); }

    // A button at the left, a panel at the right holding a label, on a 400×300 window.
    static std::unique_ptr<RecordingDialog> window(double scale) {
        auto d = showDialog(
            [](RecordingDialog& r) {
                r.add<PushButton>(1, QRect(10, 20, 100, 30));
                auto* panel = r.add<Panel>(2, QRect(200, 50, 150, 100));
                r.add<StaticText>(3, QRect(10, 10, 40, 20), panel);
            },
            QSize(int(400 * scale), int(300 * scale)));
        d->setInterfaceScale(scale);
        return d;
    }
};

TEST_F(MirrorTest, ControlsSwapSidesInsideTheirParentAndComeBack) {
    struct Case {
        double scale;
        QRect button, panel, label; // mirrored, in screen pixels
    };
    const Case cases[] = {
        {1.0, QRect(290, 20, 100, 30), QRect(50, 50, 150, 100), QRect(100, 10, 40, 20)},
        {1.5, QRect(435, 30, 150, 45), QRect(75, 75, 225, 150), QRect(150, 15, 60, 30)},
    };
    for (const Case& c : cases) {
        auto d = window(c.scale);
        auto* button = d->control(1);
        auto* panel = d->control(2);
        auto* label = d->control(3);
        const QRect buttonLtr = button->geometry();
        const QRect panelLtr = panel->geometry();
        const QRect labelLtr = label->geometry();

        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        EXPECT_EQ(button->geometry(), c.button) << "scale " << c.scale;
        EXPECT_EQ(panel->geometry(), c.panel) << "scale " << c.scale;
        EXPECT_EQ(label->geometry(), c.label) << "scale " << c.scale;

        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        EXPECT_EQ(button->geometry(), buttonLtr) << "scale " << c.scale;
        EXPECT_EQ(panel->geometry(), panelLtr) << "scale " << c.scale;
        EXPECT_EQ(label->geometry(), labelLtr) << "scale " << c.scale;
    }
}

// Windows made, laid out again or resized while the language reads right to left take
// their mirrored places too.
TEST_F(MirrorTest, LayoutsWhileRightToLeftAreMirrored) {
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    auto d = window(1.0);
    EXPECT_EQ(d->control(1)->geometry(), QRect(290, 20, 100, 30));
    EXPECT_EQ(d->control(3)->geometry(), QRect(100, 10, 40, 20));

    d->control(1)->setGeometry(0, 0, 50, 10); // a new design rectangle
    d->scaleControls();
    EXPECT_EQ(d->control(1)->geometry(), QRect(350, 0, 50, 10));

    d->resize(500, 300); // the window grew: the button keeps its distance to the right
    d->scaleControls();
    EXPECT_EQ(d->control(1)->geometry(), QRect(450, 0, 50, 10));
}

// The columns where a checked box's accent colour shows, drawn as the control is now.
std::pair<int, int> accentColumns(QWidget& box) {
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    box.render(&image);
    int first = image.width();
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, image.height() / 2) == skin::accentColour().rgb()) {
            first = std::min(first, x);
            last = std::max(last, x);
        }
    }
    return {first, last};
}

TEST_F(MirrorTest, TheCheckBoxStandsBeforeItsTextInEitherDirection) {
    auto d = showDialog([](RecordingDialog& r) { r.add<CheckBox>(1, QRect(0, 0, 200, 24)); });
    auto* box = d->find<CheckBox>(1);
    box->setText(QStringLiteral("Motion sync"));
    box->setChecked(true);

    const auto [ltrFirst, ltrLast] = accentColumns(*box);
    EXPECT_LE(ltrLast, 20) << "the box at the left";
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    const auto [rtlFirst, rtlLast] = accentColumns(*box);
    EXPECT_GE(rtlFirst, 180) << "the box at the right";
    EXPECT_GE(rtlLast, rtlFirst);
}

// Where the arrow's point is: the mean column of its ink on the middle row, left (< 0) or
// right (> 0) of the button's centre.
double pointSide(PushButton& button) {
    const QImage image = button.grab().toImage();
    const QRgb background = image.pixel(0, 0);
    const int row = image.height() / 2;
    double sum = 0;
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, row) != background) {
            sum += x;
            ++count;
        }
    }
    return count ? sum / count - image.width() / 2.0 : 0.0;
}

TEST_F(MirrorTest, ArrowsPointTheOtherWayRightToLeft) {
    auto d = showDialog([](RecordingDialog& r) {
        r.add<PushButton>(1, QRect(0, 0, 48, 48))->setGlyph(Glyph::Previous);
        r.add<PushButton>(2, QRect(60, 0, 48, 48))->setGlyph(Glyph::Next);
    });
    auto* previous = d->find<PushButton>(1);
    auto* next = d->find<PushButton>(2);
    EXPECT_LT(pointSide(*previous), -2) << "previous points left";
    EXPECT_GT(pointSide(*next), 2) << "next points right";
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    EXPECT_GT(pointSide(*previous), 2) << "previous points right";
    EXPECT_LT(pointSide(*next), -2) << "next points left";
}

// A skin's arrow image is drawn mirrored too: its left half goes to the right.
TEST_F(MirrorTest, ArrowImagesAreMirroredRightToLeft) {
    QImage half(16, 16, QImage::Format_ARGB32);
    half.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            half.setPixel(x, y, qRgb(255, 0, 0));
    const QPixmap picture = QPixmap::fromImage(half);
    const QRect r(0, 0, 16, 16);
    for (const bool flipped : {false, true}) {
        QImage drawn(16, 16, QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        draw::pixmap(p, r, picture, flipped);
        p.end();
        EXPECT_EQ(qRed(drawn.pixel(2, 8)) > 128, !flipped) << "flipped " << flipped;
        EXPECT_EQ(qRed(drawn.pixel(13, 8)) > 128, flipped) << "flipped " << flipped;
    }
}

} // namespace
} // namespace corvane::ui::test
