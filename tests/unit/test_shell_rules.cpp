// The application shell's pure rules: swipe accumulation, the hover panel's
// size and place, where the popover and the menu open, and the order in which
// the ways of claiming the global hot key are tried.

#include "shell/GlobalHotKeyChain.h"
#include "shell/HoverPanelGeometry.h"
#include "shell/PopoverPlacement.h"
#include "shell/SwipeAccumulator.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using Swipe = SwipeAccumulator::Swipe;

struct SwipeCount {
    int left = 0;
    int right = 0;
};

// Feeds (dx, dy, ended) events and counts the swipes.
SwipeCount run(SwipeAccumulator &accumulator, const QList<std::tuple<double, double, bool>> &events)
{
    SwipeCount count;
    for (const auto &[dx, dy, ended] : events) {
        switch (accumulator.feed(dx, dy, ended)) {
        case Swipe::left:
            ++count.left;
            break;
        case Swipe::right:
            ++count.right;
            break;
        case Swipe::none:
            break;
        }
    }
    return count;
}

class FakeHotKey : public GlobalHotKey
{
public:
    explicit FakeHotKey(bool grants, QStringList *log, QString name)
        : m_grants(grants)
        , m_log(log)
        , m_name(std::move(name))
    {
    }
    bool registerHotKey() override
    {
        *m_log << m_name;
        return m_grants;
    }

private:
    bool m_grants;
    QStringList *m_log;
    QString m_name;
};

}  // namespace

class ShellRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void swipeAccumulator()
    {
        {
            SwipeAccumulator a;
            const SwipeCount c = run(a, {{-15, 0, false}, {-15, 0, false}, {-15, 0, false}});
            QCOMPARE(c.left, 1);  // -45 in one gesture
            QCOMPARE(c.right, 0);
            QCOMPARE(a.accumulated(), 0.0);
        }
        {
            SwipeAccumulator a;
            const SwipeCount c = run(a, {{20, 0, false}, {19, 0, false}});
            QCOMPARE(c.left + c.right, 0);  // +39 stays below the threshold
            QCOMPARE(a.accumulated(), 39.0);
        }
        {
            SwipeAccumulator a;
            QCOMPARE(a.feed(10, 10, false), Swipe::none);  // |dy| == |dx|: vertical
            QCOMPARE(a.feed(30, -31, false), Swipe::none);
            QCOMPARE(a.accumulated(), 0.0);
            QCOMPARE(a.feed(41, 40, false), Swipe::right);  // mostly horizontal counts
        }
        {
            // Two gestures of +25, the end event carrying no delta as real ones do.
            SwipeAccumulator a;
            const SwipeCount c = run(a, {{25, 0, false}, {0, 0, true}, {25, 0, false}, {0, 0, true}});
            QCOMPARE(c.left + c.right, 0);
            QCOMPARE(a.accumulated(), 0.0);
        }
        {
            SwipeAccumulator a;
            int rightAfter[2] = {0, 0};
            int swipes = 0;
            for (int i = 1; i <= 18; ++i) {
                if (a.feed(5, 0, false) == Swipe::right)
                    rightAfter[std::min(swipes++, 1)] = i;
            }
            QCOMPARE(swipes, 2);
            QCOMPARE(rightAfter[0], 9);  // 45 > 40
            QCOMPARE(rightAfter[1], 18);
        }
        {
            // Exactly the threshold is not yet a swipe; left and right cancel.
            SwipeAccumulator a;
            QCOMPARE(a.feed(40, 0, false), Swipe::none);
            QCOMPARE(a.feed(-80, 0, false), Swipe::none);
            QCOMPARE(a.feed(-0.5, 0, false), Swipe::left);
        }
    }

    void hoverPanelSize_data()
    {
        QTest::addColumn<QSize>("thumbnail");
        QTest::addColumn<double>("image");
        QTest::addColumn<double>("panel");
        QTest::newRow("tall, capped") << QSize(640, 1400) << 130.0 << 186.0;
        QTest::newRow("wide") << QSize(640, 320) << 110.0 << 166.0;
        QTest::newRow("no thumbnail") << QSize() << 130.0 << 186.0;
        QTest::newRow("exactly the cap") << QSize(220, 130) << 130.0 << 186.0;
        QTest::newRow("panorama") << QSize(2000, 100) << 11.0 << 67.0;
    }

    void hoverPanelSize()
    {
        QFETCH(QSize, thumbnail);
        QFETCH(double, image);
        QFETCH(double, panel);
        QCOMPARE(HoverPanelGeometry::imageHeight(thumbnail), image);
        QCOMPARE(HoverPanelGeometry::panelHeight(thumbnail), panel);
    }

    void hoverPanelPlace()
    {
        const QRectF screen(0, 0, 1280, 800);
        // Centred under an icon in a top panel, 4 below it.
        QCOMPARE(HoverPanelGeometry::frame(QRectF(600, 1, 22, 22), 166, screen), QRectF(501, 27, 220, 166));
        // At the right edge it stays on the screen.
        QCOMPARE(HoverPanelGeometry::frame(QRectF(1257, 1, 22, 22), 186, screen), QRectF(1060, 27, 220, 186));
        // A bottom panel: above the icon, 4 above it.
        QCOMPARE(HoverPanelGeometry::frame(QRectF(20, 776, 22, 22), 166, screen), QRectF(0, 606, 220, 166));
    }

    void popoverPlace()
    {
        const QSize size(360, 480);
        const QRect available(0, 0, 1280, 800);
        // Under the icon, centred, clamped at the right edge.
        QCOMPARE(PopoverPlacement::topLeft(size, QRect(600, 1, 22, 22), QPoint(5, 5), available), QPoint(431, 27));
        QCOMPARE(PopoverPlacement::topLeft(size, QRect(1257, 1, 22, 22), std::nullopt, available), QPoint(920, 27));
        // A tray at the bottom: above the icon.
        QCOMPARE(PopoverPlacement::topLeft(size, QRect(100, 776, 22, 22), std::nullopt, available), QPoint(0, 292));
        // No icon position: at the pointer, kept inside the available area.
        QCOMPARE(PopoverPlacement::topLeft(size, std::nullopt, QPoint(640, 100), available), QPoint(460, 100));
        QCOMPARE(PopoverPlacement::topLeft(size, QRect(), QPoint(1270, 790), available), QPoint(920, 320));
        // Neither: the top-right corner.
        QCOMPARE(PopoverPlacement::topLeft(size, std::nullopt, std::nullopt, QRect(0, 30, 1280, 770)), QPoint(920, 30));
    }

    void menuPlace()
    {
        const QRect available(0, 0, 1280, 800);
        QCOMPARE(PopoverPlacement::dropDownTopLeft(QSize(200, 160), QRect(600, 1, 22, 22), available), QPoint(600, 23));
        QCOMPARE(PopoverPlacement::dropDownTopLeft(QSize(200, 160), QRect(1257, 1, 22, 22), available), QPoint(1080, 23));
        QCOMPARE(PopoverPlacement::dropDownTopLeft(QSize(200, 160), QRect(40, 776, 22, 22), available), QPoint(40, 616));
    }

    void hotKeyChainKeepsTheFirstThatSucceeds()
    {
        QStringList tried;
        std::vector<std::unique_ptr<GlobalHotKey>> ways;
        ways.push_back(std::make_unique<FakeHotKey>(false, &tried, QStringLiteral("x11")));
        ways.push_back(std::make_unique<FakeHotKey>(true, &tried, QStringLiteral("kde")));
        ways.push_back(std::make_unique<FakeHotKey>(true, &tried, QStringLiteral("portal")));
        GlobalHotKey *kde = ways[1].get();
        GlobalHotKeyChain chain(std::move(ways));
        QSignalSpy activated(&chain, &GlobalHotKey::activated);
        QVERIFY(chain.registerHotKey());
        QCOMPARE(tried, (QStringList{QStringLiteral("x11"), QStringLiteral("kde")}));
        QCOMPARE(chain.active(), kde);
        Q_EMIT kde->activated();
        QCOMPARE(activated.count(), 1);
        QVERIFY(chain.registerHotKey());  // already held: nothing is tried again
        QCOMPARE(tried.size(), 2);
    }

    void hotKeyChainWithNoWayLeft()
    {
        QStringList tried;
        std::vector<std::unique_ptr<GlobalHotKey>> ways;
        ways.push_back(std::make_unique<FakeHotKey>(false, &tried, QStringLiteral("x11")));
        ways.push_back(std::make_unique<FakeHotKey>(false, &tried, QStringLiteral("portal")));
        GlobalHotKeyChain chain(std::move(ways));
        QVERIFY(!chain.registerHotKey());
        QCOMPARE(tried.size(), 2);
        QCOMPARE(chain.active(), nullptr);
    }
};

QTEST_GUILESS_MAIN(ShellRulesTest)
#include "test_shell_rules.moc"
