// The binding on a small tree of control models: what a widget shows follows its model, what a
// person does on a widget reaches the model only while the control and its containers are usable,
// and neither side leaves the other a dangling observer. Each row names the fault it catches.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "Twips.h"
#include "ViewBinding.h"
#include "platform/StandardControls.h"

namespace qx::ui {
namespace {

using namespace platform;

// A root, a frame inside it, and one control of each input kind inside the frame.
struct Tree {
    ControlFactories factories;
    Controls controls{factories};
    std::shared_ptr<Frame> root = std::make_shared<Frame>("Root");
    std::shared_ptr<Frame> box = std::make_shared<Frame>("Box");
    std::shared_ptr<Label> label = std::make_shared<Label>("Label");
    std::shared_ptr<CommandButton> button = std::make_shared<CommandButton>("Button");
    std::shared_ptr<CheckBox> check = std::make_shared<CheckBox>("Check");
    std::shared_ptr<TextBox> text = std::make_shared<TextBox>("Text");
    std::shared_ptr<ComboBox> combo = std::make_shared<ComboBox>("Combo");
    std::shared_ptr<ScrollBar> bar = std::make_shared<ScrollBar>("Bar", true, 0, 100);
    int clicks = 0;

    Tree() {
        root->move(0, 0, 6000, 4500);
        box->move(150, 150, 4500, 3000);
        controls.adopt(box, root.get());
        int32_t top = 300;
        for (Control* c : std::initializer_list<Control*>{label.get(), button.get(), check.get(), text.get(),
                                                          combo.get(), bar.get()}) {
            c->move(150, top, 2400, 375);
            top += 450;
        }
        for (auto c : std::initializer_list<std::shared_ptr<Control>>{label, button, check, text, combo, bar})
            controls.adopt(c, box.get());
        combo->addItem("one");
        combo->addItem("two");
        button->Click = [this] { ++clicks; };
        check->Click = [this] { ++clicks; };
    }
};

template <class W>
W* widgetOf(const ViewBinding& binding, const char* name) {
    auto* w = qobject_cast<W*>(binding.widget(name));
    EXPECT_TRUE(w) << name;
    return w;
}

struct ShowRow {
    const char* what;
    std::function<void(Tree&)> change;
    std::function<bool(const ViewBinding&)> shown;
};

TEST(Binding, EveryPropertyChangeShowsInItsWidget) {
    const std::vector<ShowRow> rows = {
        {"caption of a label", [](Tree& t) { t.label->setCaption("Flow"); },
         [](const ViewBinding& b) { return widgetOf<QLabel>(b, "Label")->text() == "Flow"; }},
        {"background colour (0x00BBGGRR, red low)", [](Tree& t) { t.label->setBackColor(0x0000FF); },
         [](const ViewBinding& b) {
             return widgetOf<QLabel>(b, "Label")->palette().color(QPalette::Window) == QColor(255, 0, 0);
         }},
        {"bold font", [](Tree& t) { t.label->setFontBold(true); },
         [](const ViewBinding& b) { return widgetOf<QLabel>(b, "Label")->font().bold(); }},
        {"a caption that looks like markup stays text", [](Tree& t) { t.label->setCaption("<b>x</b>"); },
         [](const ViewBinding& b) { return widgetOf<QLabel>(b, "Label")->textFormat() == Qt::PlainText; }},
        {"button caption", [](Tree& t) { t.button->setCaption("Set"); },
         [](const ViewBinding& b) { return widgetOf<QPushButton>(b, "Button")->text() == "Set"; }},
        {"frame caption", [](Tree& t) { t.box->setCaption("Teach-in"); },
         [](const ViewBinding& b) { return widgetOf<QGroupBox>(b, "Box")->title() == "Teach-in"; }},
        {"check box value", [](Tree& t) { t.check->setValue(1); },
         [](const ViewBinding& b) { return widgetOf<QCheckBox>(b, "Check")->isChecked(); }},
        {"text", [](Tree& t) { t.text->setText("500"); },
         [](const ViewBinding& b) { return widgetOf<QLineEdit>(b, "Text")->text() == "500"; }},
        {"list entries and choice", [](Tree& t) { t.combo->addItem("three"), t.combo->setListIndex(2); },
         [](const ViewBinding& b) {
             auto* c = widgetOf<QComboBox>(b, "Combo");
             return c->count() == 3 && c->currentText() == "three";
         }},
        {"emptied list", [](Tree& t) { t.combo->clear(); },
         [](const ViewBinding& b) { return widgetOf<QComboBox>(b, "Combo")->count() == 0; }},
        {"scroll bar limits and value", [](Tree& t) { t.bar->setMax(50), t.bar->setValue(40); },
         [](const ViewBinding& b) {
             auto* s = widgetOf<QScrollBar>(b, "Bar");
             return s->maximum() == 50 && s->value() == 40;
         }},
        {"position and size at 15 twips a pixel", [](Tree& t) { t.button->move(300, 450, 1500, 600); },
         [](const ViewBinding& b) { return b.widget("Button")->geometry() == QRect(20, 30, 100, 40); }},
        {"hidden", [](Tree& t) { t.text->setVisible(false); },
         [](const ViewBinding& b) { return b.widget("Text")->isHidden(); }},
        {"disabled", [](Tree& t) { t.button->setEnabled(false); },
         [](const ViewBinding& b) { return !b.widget("Button")->isEnabled(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Tree t;
        ViewBinding binding(t.root, t.controls, {}, nullptr);
        row.change(t);
        EXPECT_TRUE(row.shown(binding));
    }
}

// What a person does on each kind of widget, and what the model holds afterwards when it took it.
struct InputRow {
    const char* what;
    const char* target;
    std::function<void(const ViewBinding&)> act;
    std::function<bool(const Tree&)> taken;
};

TEST(Binding, InputReachesTheModelOnlyWhileTheControlIsUsable) {
    const std::vector<InputRow> rows = {
        {"click a button", "Button",
         [](const ViewBinding& b) { QTest::mouseClick(b.widget("Button"), Qt::LeftButton); },
         [](const Tree& t) { return t.clicks == 1; }},
        {"tick a check box (its click follows)", "Check",
         [](const ViewBinding& b) { QTest::keyClick(b.widget("Check"), Qt::Key_Space); },
         [](const Tree& t) { return t.check->value() == 1 && t.clicks == 1; }},
        {"type into a text box", "Text",
         [](const ViewBinding& b) { QTest::keyClicks(b.widget("Text"), "42"); },
         [](const Tree& t) { return t.text->text() == "42"; }},
        {"choose an entry", "Combo",
         [](const ViewBinding& b) {
             auto* c = widgetOf<QComboBox>(b, "Combo");
             c->setCurrentIndex(1);
             Q_EMIT c->activated(1);
         },
         [](const Tree& t) { return t.combo->text() == "two"; }},
        {"move a scroll bar", "Bar",
         [](const ViewBinding& b) {
             widgetOf<QScrollBar>(b, "Bar")->triggerAction(QAbstractSlider::SliderPageStepAdd);
         },
         [](const Tree& t) { return t.bar->value() > 0; }},
    };
    // Whatever refuses the input: the control itself, or a container, hidden or disabled.
    const std::vector<std::pair<const char*, std::function<void(Tree&, Control&)>>> refusals = {
        {"usable", [](Tree&, Control&) {}},
        {"disabled", [](Tree&, Control& c) { c.setEnabled(false); }},
        {"container disabled", [](Tree& t, Control&) { t.box->setEnabled(false); }},
        {"container hidden", [](Tree& t, Control&) { t.box->setVisible(false); }},
    };
    for (const auto& row : rows) {
        for (const auto& [how, refuse] : refusals) {
            SCOPED_TRACE(std::string(row.what) + ", " + how);
            Tree t;
            ViewBinding binding(t.root, t.controls, {}, nullptr);
            binding.viewWidget()->show();
            Control& target = *t.controls.find(row.target);
            refuse(t, target);
            // Widgets can be driven while Qt would block them: the model must refuse on its own.
            for (const char* name : {"Button", "Check", "Text", "Combo", "Bar"})
                binding.widget(name)->setEnabled(true);
            row.act(binding);
            const bool usable = std::string(how) == "usable";
            EXPECT_EQ(row.taken(t), usable);
        }
    }
}

// The widget follows the collection: a control added later gets a widget, a removed one loses it.
// A binding that outlives its models, or models that outlive the binding, must not crash or
// leave an observer behind (the sanitizer build checks the first).
TEST(Binding, NoDanglingObserverEitherWay) {
    Tree t;
    {
        ViewBinding binding(t.root, t.controls, {}, nullptr);
        auto late = std::make_shared<Label>("Late");
        t.controls.adopt(late, t.box.get());
        ASSERT_TRUE(binding.widget("Late"));
        t.controls.remove("Late");
        EXPECT_FALSE(binding.widget("Late"));
        late->setCaption("after removal");
    }
    t.label->setCaption("after the binding");  // nobody is told, nothing dangles
    t.button->click();

    auto tree = std::make_unique<Tree>();
    ViewBinding binding(tree->root, tree->controls, {}, nullptr);
    QPointer<QWidget> button = binding.widget("Button");
    tree.reset();  // the models go first
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace
}  // namespace qx::ui
