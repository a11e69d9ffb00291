// Every control a person can see and use answers the mouse at the centre of what can be seen of
// it: the window has the control's own widget there, and a click (a wheel turn for the bars and
// sliders, a move over the charts) reaches the control's model. Checked in every state of a
// max/min teach-in and of a quick teach, in English and German, at the layout's smallest and at a
// typical size.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSlider>
#include <QWheelEvent>
#include <set>

#include "ViewMouse.h"
#include "frame/ParameterSlider.h"
#include "platform/ChartObject.h"

namespace qx::window::test {
namespace {

using namespace platform;

// Runs `handler`'s place with a counter instead of the view's handler, so that a click reaches
// the model without moving the wizard on, and puts the view's handler back.
template <class Handler>
class Counting {
  public:
    explicit Counting(Handler& handler) : handler_(handler), saved_(std::move(handler)) {
        handler_ = [this](auto&&...) { ++count; };
    }
    ~Counting() { handler_ = std::move(saved_); }
    Counting(const Counting&) = delete;
    Counting& operator=(const Counting&) = delete;
    int count = 0;

  private:
    Handler& handler_;
    Handler saved_;
};

void turnWheel(QWidget* w, QPoint at) {
    QWheelEvent e(QPointF(at), w->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, -120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

class Checker {
  public:
    explicit Checker(ViewMouse& mouse) : mouse_(mouse) {}

    // What did not answer the mouse, one line per control.
    std::vector<std::string> everyControlAnswers() {
        ViewMouse::settle();
        std::vector<std::string> faults;
        for (const auto& control : mouse_.view().Controls().all()) {
            QWidget* own = mouse_.widget(control->name());
            if (!own || !own->isVisible() || !own->isEnabled()) continue;
            const QRect area = mouse_.visibleArea(*own);
            if (area.isEmpty()) continue;  // nothing of it to aim at
            ++checked;
            QWidget* hit = mouse_.widgetAt(area.center());
            if (!ViewMouse::isWithin(hit, own)) {
                faults.push_back(control->name() + ": under its centre lies " + ViewMouse::describe(hit));
                continue;
            }
            const QPoint at = hit->mapFrom(&mouse_.stand.window, area.center());
            if (auto fault = reach(*control, own, hit, at); !fault.empty())
                faults.push_back(control->name() + ": " + fault);
        }
        return faults;
    }

    int checked = 0;

  private:
    // The click (or wheel turn, or move) at `at` on `hit` reaches the control's model; what went
    // wrong, else empty. The model is put back as it was, without the view's handlers running.
    std::string reach(Control& control, QWidget* own, QWidget* hit, QPoint at) {
        if (auto* button = dynamic_cast<CommandButton*>(&control)) {
            Counting clicks(button->Click);
            QTest::mouseClick(hit, Qt::LeftButton, {}, at);
            return clicks.count == 1 ? "" : "the click did not reach the button";
        }
        if (auto* box = dynamic_cast<CheckBox*>(&control)) {
            Counting clicks(box->Click);
            const int32_t before = box->value();
            QTest::mouseClick(hit, Qt::LeftButton, {}, at);
            const bool toggled = box->value() != before && clicks.count == 1;
            box->setValue(before);
            return toggled ? "" : "the click did not toggle the box";
        }
        if (auto* text = dynamic_cast<TextBox*>(&control)) {
            const std::string before = text->text();
            QTest::mouseClick(hit, Qt::LeftButton, {}, at);
            QWidget* focus = mouse_.stand.window.focusWidget();
            if (!ViewMouse::isWithin(focus, own)) return "the click gave it no focus";
            QTest::keyClick(focus, Qt::Key_End);
            QTest::keyClick(focus, Qt::Key_7);
            const bool input = !static_cast<QLineEdit*>(own)->isReadOnly();
            const bool typed = text->text() != before;
            text->setText(before);
            if (input != typed) return input ? "a key typed into it did not reach it" : "it took a key";
            return "";
        }
        if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
            if (combo->listCount() < 2) return "";
            Counting clicks(combo->Click);
            const int32_t before = combo->listIndex();
            const std::string other = combo->list(before == 0 ? 1 : 0);
            mouse_.choose(control.name(), other);
            const bool chosen = combo->text() == other && clicks.count == 1;
            combo->setListIndex(before);
            return chosen ? "" : "the entry clicked in its list did not reach it";
        }
        if (auto* bar = dynamic_cast<ScrollBar*>(&control)) {
            Counting changes(bar->Change);
            const int32_t before = bar->value();
            QTest::mouseClick(hit, Qt::LeftButton, {}, at);
            turnWheel(hit, at);
            const bool moved = bar->value() != before;
            bar->setValue(before);
            return moved && changes.count > 0 ? "" : "neither click nor wheel moved it";
        }
        if (auto* extender = dynamic_cast<ControlExtender*>(&control)) {
            if (auto slider = std::dynamic_pointer_cast<frame::ParameterSlider>(extender->object())) {
                if (slider->locked()) return "";  // shown, but its thumb does not move
                auto* track = own->findChild<QSlider*>();
                if (!track) return "it has no track";
                const QRect trackArea = mouse_.visibleArea(*track);
                if (mouse_.widgetAt(trackArea.center()) != track)
                    return "its track lies under another widget";
                const double before = slider->value();
                const QPoint onTrack = track->mapFrom(&mouse_.stand.window, trackArea.center());
                QTest::mouseClick(track, Qt::LeftButton, {}, onTrack);
                turnWheel(track, onTrack);
                const bool moved = slider->value() != before;
                slider->setValue(before);
                return moved ? "" : "neither click nor wheel moved it";
            }
            if (auto chart = std::dynamic_pointer_cast<ChartObject>(extender->object())) {
                Counting moves(chart->ObjectEvent);
                QMouseEvent move(QEvent::MouseMove, QPointF(at), hit->mapToGlobal(QPointF(at)), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(hit, &move);
                return moves.count == 1 ? "" : "a move over it did not reach it";
            }
        }
        return "";  // labels, frames, the lamp column: seen, not used
    }

    ViewMouse& mouse_;
};

struct Session {
    WindowStand stand{false};
    ViewMouse mouse{stand};
    Checker checker{mouse};
    std::set<int32_t> statesSeen;
    std::vector<std::string> faults;
    std::string where;

    Session(int32_t language, int32_t width, int32_t height) {
        where = std::to_string(language) + " at " + std::to_string(width) + " x " + std::to_string(height);
        stand.window.runLine("device lang=" + std::to_string(language));
        for (const char* line : {"create", "init device", "set-toolbar", "register-callback"})
            stand.window.runLine(line);
        stand.window.runLine("resize " + std::to_string(width) + " " + std::to_string(height));
        stand.window.runLine("sim flow 300");
        stand.window.runFor(3000);
        check();
    }

    int32_t state() { return static_cast<int32_t>(mouse.view().progress().mTeachState); }

    void check() {
        statesSeen.insert(state());
        for (const auto& f : checker.everyControlAnswers())
            faults.push_back(where + ", state " + std::to_string(state()) + ": " + f);
    }

    // Runs `ms` of virtual time in short steps, checking again whenever the wizard moves on.
    void run(int64_t ms) {
        for (int64_t t = 0; t < ms; t += 50) {
            const int32_t before = state();
            stand.window.runFor(50);
            if (state() != before) check();
        }
        check();
    }

    void click(const std::string& name) {
        mouse.click(name);
        check();
    }
};

TEST(HitTest, EveryUsableControlAnswersTheMouseAtItsCentreThroughATeachIn) {
    for (int32_t language : {1033, 1031})
        for (auto [width, height] : {std::pair{12120, 5400}, std::pair{12120, 9000}}) {
            Session s(language, width, height);
            s.click("ComTeachMaxMin");
            s.run(1000);
            s.stand.window.runLine("sim flow 780");
            s.run(3000);
            s.click("ComTMax");
            s.run(1000);
            s.stand.window.runLine("sim flow 240");
            s.run(3000);
            s.click("ComTMin");
            s.run(4000);
            s.click("ComteachQuick");
            s.run(2500);
            s.click("ComTQuick");
            s.run(4000);

            EXPECT_EQ(s.faults, std::vector<std::string>{});
            const std::set<int32_t> teachStates = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 14};
            EXPECT_EQ(s.statesSeen, teachStates) << s.where;
            EXPECT_GT(s.checker.checked, 300) << s.where;
        }
}

}  // namespace
}  // namespace qx::window::test
