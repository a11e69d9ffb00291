#pragma once
// The view's controls under the mouse, as a person finds them on screen: where the centre of what
// can be seen of a control lies, which widget the window has there, and clicks, keys and list
// choices made at that place on whatever widget is there, so a widget stacked wrongly over
// another takes the click as it would from a person.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QTest>
#include <cmath>
#include <string>

#include "WindowStand.h"
#include "view/QX_FlowWiz.h"

namespace qx::window::test {

struct ViewMouse {
    WindowStand& stand;

    view::QX_FlowWiz& view() { return stand.console.frame().view(); }

    QWidget* widget(const std::string& name) const {
        return stand.window.binding() ? stand.window.binding()->widget(name) : nullptr;
    }

    // Lays out what waits to be laid out (the widgets' own layouts), as a shown window would
    // before a person could aim at it.
    static void settle() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // What can be seen of `w` in the window's coordinates: its rectangle cut by every widget
    // around it (containers, the page's scrolled viewport).
    QRect visibleArea(const QWidget& w) const {
        QRect area = w.rect();
        const QWidget* at = &w;
        while (at != &stand.window && at->parentWidget()) {
            area.translate(at->pos());
            at = at->parentWidget();
            area &= at->rect();
        }
        return area;
    }

    // The widget the window has under `point` (window coordinates); none outside every widget.
    QWidget* widgetAt(QPoint point) const { return stand.window.childAt(point); }

    static bool isWithin(const QWidget* hit, const QWidget* owner) {
        for (const QWidget* w = hit; w; w = w->parentWidget())
            if (w == owner) return true;
        return false;
    }

    // A left click at the centre of what can be seen of the control, on the widget there. Fails
    // the test when the control shows nothing or another widget lies there.
    void click(const std::string& name) {
        QWidget* hit = aim(name);
        if (!hit) return;
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&stand.window, centreOf(name)));
        settle();
    }

    // Clicks into the text box, selects its text and types `text` over it, then Enter.
    void typeInto(const std::string& name, const std::string& text) {
        click(name);
        QWidget* box = stand.window.focusWidget();
        ASSERT_TRUE(box && isWithin(box, widget(name))) << name << " took no focus";
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QString::fromStdString(text));
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }

    // Opens the drop-down list with a click and takes the entry with that text with the arrow
    // keys and Enter. (A click into a list just opened is taken for the end of the click that
    // opened it, unless it comes a double-click interval later.)
    void choose(const std::string& name, const std::string& entry) {
        auto* combo = qobject_cast<QComboBox*>(widget(name));
        ASSERT_NE(combo, nullptr) << name;
        click(name);
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible()) << name << ": the list did not open";
        const int row = combo->findText(QString::fromStdString(entry));
        ASSERT_GE(row, 0) << name << " lacks " << entry;
        for (int at = combo->currentIndex(); at != row; at += at < row ? 1 : -1)
            QTest::keyClick(list, at < row ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Return);
        settle();
        EXPECT_FALSE(list->isVisible()) << name << ": the list stayed open";
    }

    // Moves the slider's thumb to `value` as a person does with the keyboard after clicking its
    // track: Home to the lower end, then Page Up (one unit a step) until it shows the value.
    void slideTo(const std::string& name, double value) {
        QWidget* own = widget(name);
        auto* track = own ? own->findChild<QSlider*>() : nullptr;
        ASSERT_NE(track, nullptr) << name;
        const QRect area = visibleArea(*track);
        ASSERT_EQ(widgetAt(area.center()), track)
            << name << ": under its track lies " << describe(widgetAt(area.center()));
        QTest::mouseClick(track, Qt::LeftButton, {}, track->mapFrom(&stand.window, area.center()));
        QTest::keyClick(track, Qt::Key_Home);
        const int target = static_cast<int>(std::lround(value * 10));
        for (int steps = 0; track->value() < target && steps < 10000; ++steps)
            QTest::keyClick(track, Qt::Key_PageUp);
        ASSERT_EQ(track->value(), target) << name;
        settle();
    }

    // The control a widget belongs to (the nearest named one) and the widget's own class.
    static std::string describe(const QWidget* w) {
        if (!w) return "nothing";
        const QWidget* named = w;
        while (named && named->objectName().isEmpty()) named = named->parentWidget();
        return (named ? named->objectName().toStdString() : std::string("?")) + " (" +
               w->metaObject()->className() + ")";
    }

    QPoint centreOf(const std::string& name) const { return visibleArea(*widget(name)).center(); }

    // The widget under the control's visible centre, when it is the control's own (or one of its
    // parts); a test failure naming what lies there instead.
    QWidget* aim(const std::string& name) {
        settle();
        QWidget* own = widget(name);
        if (!own) {
            ADD_FAILURE() << name << " has no widget";
            return nullptr;
        }
        if (!own->isVisible() || !own->isEnabled()) {
            ADD_FAILURE() << name << " is not there to be clicked";
            return nullptr;
        }
        const QRect area = visibleArea(*own);
        if (area.isEmpty()) {
            ADD_FAILURE() << name << " shows nothing of itself";
            return nullptr;
        }
        QWidget* hit = widgetAt(area.center());
        if (!isWithin(hit, own)) {
            ADD_FAILURE() << "under the centre of " << name << " lies " << describe(hit);
            return nullptr;
        }
        return hit;
    }
};

}  // namespace qx::window::test
