// The application shell's pure rules: swipe accumulation, the hover panel's
// size, where the popover, the menu and the hover panel open, and the order in
// which the ways of claiming the global hot key are tried.

#include "shell/GlobalHotKeyChain.h"
#include "shell/HoverPanelGeometry.h"
#include "shell/PanelShade.h"
#include "shell/PopoverPlacement.h"
#include "shell/SwipeAccumulator.h"

#include <QSignalSpy>
#include <QTest>

namespace {

struct Scroll { double dx; double dy = 0; bool ended = false; };

enum class Opening { popover, menu, hoverPanel };

// One way of claiming the key: notes in asked that it was tried, answers grant.
struct FakeHotKey : GlobalHotKey {
    FakeHotKey(QList<int> &list, int i, bool answer) : asked(list), index(i), grant(answer) {}
    bool registerHotKey() override { asked << index; return grant; }
    QList<int> &asked;
    int index;
    bool grant;
};

}  // namespace

using Icon = std::optional<QRect>;
using Pointer = std::optional<QPoint>;
Q_DECLARE_METATYPE(QList<Scroll>)
Q_DECLARE_METATYPE(Opening)
Q_DECLARE_METATYPE(Icon)
Q_DECLARE_METATYPE(Pointer)

class ShellTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void swipeAccumulator_data()
    {
        QTest::addColumn<QList<Scroll>>("events");
        QTest::addColumn<QString>("swipes");  // per event: '-' none, 'L' left, 'R' right
        // Small moves adding up, and the end of a gesture dropping its distance, are the widget test's.
        QTest::newRow("exactly 40 is no swipe; directions cancel") << QList<Scroll>{{40}, {-80}, {-0.5}} << "--L";
        QTest::newRow("vertical and 45-degree scrolls are ignored")
            << QList<Scroll>{{10, 10}, {30, -31}, {39}} << "---";
        QTest::newRow("mostly horizontal counts") << QList<Scroll>{{41, 40}} << "R";
        QTest::newRow("one long flick steps every 40 points") << QList<Scroll>(18, {5}) << "--------R--------R";
    }

    void swipeAccumulator()
    {
        QFETCH(QList<Scroll>, events);
        QFETCH(QString, swipes);
        SwipeAccumulator accumulator;
        QString seen;
        for (const Scroll &event : events) {
            using enum SwipeAccumulator::Swipe;
            const SwipeAccumulator::Swipe swipe = accumulator.feed(event.dx, event.dy, event.ended);
            seen += swipe == left ? u'L' : swipe == right ? u'R' : u'-';
        }
        QCOMPARE(seen, swipes);
    }

    // The panel adds its padding and text lines to the image: its height on
    // screen is checked end to end.
    void hoverImageHeight_data()
    {
        QTest::addColumn<QSize>("thumbnail");
        QTest::addColumn<double>("height");
        QTest::newRow("wide image fills the width") << QSize(640, 320) << 110.0;
        QTest::newRow("tall image is capped") << QSize(640, 1400) << 130.0;
        QTest::newRow("no thumbnail (a null image) takes the cap") << QSize(0, 0) << 130.0;
    }

    void hoverImageHeight()
    {
        QFETCH(QSize, thumbnail);
        QFETCH(double, height);
        QCOMPARE(HoverPanelGeometry::imageHeight(thumbnail), height);
    }

    // A 360 × 480 popover, a 200 × 160 menu and a 220 × 166 hover panel on a 1280 × 800 screen.
    void placement_data()
    {
        QTest::addColumn<Opening>("opening");
        QTest::addColumn<Icon>("icon");
        QTest::addColumn<Pointer>("pointer");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("topLeft");
        const auto row = [](const char *name, Opening opening, Icon icon, QPoint topLeft, Pointer pointer = {},
                            QRect available = QRect(0, 0, 1280, 800)) {
            QTest::newRow(name) << opening << icon << pointer << available << topLeft;
        };
        const QRect top(600, 1, 22, 22);
        const QRect topRight(1257, 1, 22, 22);
        const QRect bottomLeft(20, 776, 22, 22);
        row("popover centred 4 under the icon, pointer ignored", Opening::popover, top, {431, 27}, QPoint(5, 5));
        row("popover kept on the screen at the right edge", Opening::popover, topRight, {920, 27});
        row("popover above an icon at the bottom", Opening::popover, bottomLeft, {0, 292});
        row("popover at the pointer without an icon", Opening::popover, {}, {460, 100}, QPoint(640, 100));
        row("popover: an empty icon rect is none", Opening::popover, QRect(), {920, 320}, QPoint(1270, 790));
        row("popover with neither: top right", Opening::popover, {}, {920, 30}, {}, QRect(0, 30, 1280, 770));
        row("menu left-aligned just under the icon", Opening::menu, top, {600, 23});
        row("menu kept on the screen at the right edge", Opening::menu, topRight, {1080, 23});
        row("menu just above an icon at the bottom", Opening::menu, bottomLeft, {20, 616});
        row("hover panel centred 4 under the icon", Opening::hoverPanel, top, {501, 27});
        row("hover panel kept on the screen at the right edge", Opening::hoverPanel, topRight, {1060, 27});
        row("hover panel 4 above an icon at the bottom", Opening::hoverPanel, bottomLeft, {0, 606});
    }

    void placement()
    {
        QFETCH(Opening, opening);
        QFETCH(Icon, icon);
        QFETCH(Pointer, pointer);
        QFETCH(QRect, available);
        QFETCH(QPoint, topLeft);
        const QPointF placed = opening == Opening::popover ? PopoverPlacement::topLeft(QSize(360, 480), icon, pointer, available)
                             : opening == Opening::menu    ? PopoverPlacement::dropDownTopLeft(QSize(200, 160), *icon, available)
                                                           : HoverPanelGeometry::frame(QRectF(*icon), 166, QRectF(available)).topLeft();
        QCOMPARE(placed, QPointF(topLeft));
    }

    void hotKeyChain_data()
    {
        QTest::addColumn<QList<bool>>("grants");  // what each way answers, in order
        QTest::addColumn<QList<int>>("tried");
        QTest::addColumn<int>("kept");  // -1: none
        QTest::newRow("the first that succeeds is kept, the rest untried")
            << QList<bool>{false, true, true} << QList<int>{0, 1} << 1;
        QTest::newRow("no way left") << QList<bool>{false, false} << QList<int>{0, 1} << -1;
    }

    void hotKeyChain()
    {
        QFETCH(QList<bool>, grants);
        QFETCH(QList<int>, tried);
        QFETCH(int, kept);
        QList<int> asked;
        std::vector<std::unique_ptr<GlobalHotKey>> ways;
        for (int i = 0; i < grants.size(); ++i)
            ways.push_back(std::make_unique<FakeHotKey>(asked, i, grants.at(i)));
        GlobalHotKey *holder = kept < 0 ? nullptr : ways.at(kept).get();
        GlobalHotKeyChain chain(std::move(ways));
        QSignalSpy activated(&chain, &GlobalHotKey::activated);
        QCOMPARE(chain.registerHotKey(), holder != nullptr);
        QCOMPARE(chain.active(), holder);
        QCOMPARE(chain.registerHotKey(), holder != nullptr);  // decided once: nothing is asked again
        QCOMPARE(asked, tried);
        if (holder) {
            Q_EMIT holder->activated();
            QCOMPARE(activated.count(), 1);
        }
    }

    // The tray glyph reads on its panel whatever the app's own theme.
    void panelShade_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QColor>("measured");  // invalid: nothing known of the panel itself
        QTest::addColumn<QColor>("appWindow");
        QTest::addColumn<bool>("lightGlyph");
        const QColor light(239, 240, 241);
        const QColor dark(32, 35, 38);
        QTest::newRow("GNOME's bar is dark under a light theme") << QStringLiteral("ubuntu:GNOME") << QColor() << light << true;
        QTest::newRow("measured light tray under a dark theme") << QStringLiteral("XFCE") << light << dark << false;
        QTest::newRow("measured dark tray under a light theme") << QStringLiteral("XFCE") << dark << light << true;
        QTest::newRow("KDE's dark scheme") << QStringLiteral("KDE") << dark << light << true;
        QTest::newRow("unknown desktop follows the app theme") << QStringLiteral("LXQt") << QColor() << dark << true;
        QTest::newRow("mid grey counts as light") << QString() << QColor(128, 128, 128) << dark << false;
    }

    void panelShade()
    {
        QFETCH(QString, desktop);
        QFETCH(QColor, measured);
        QFETCH(QColor, appWindow);
        QFETCH(bool, lightGlyph);
        PanelShade::Clues clues{desktop, measured.isValid() ? std::optional(measured) : std::nullopt, appWindow};
        const PanelShade::Colors colors = PanelShade::colorsFor(clues);
        QCOMPARE(PanelShade::isDark(colors.glyph), !lightGlyph);
        QCOMPARE(PanelShade::isDark(colors.background), lightGlyph);  // the dot's ring matches the panel
        if (measured.isValid())
            QCOMPARE(colors.background, measured);
    }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "test_shell.moc"
