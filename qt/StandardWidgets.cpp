#include "StandardWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "ControlBinding.h"
#include "Twips.h"
#include "chart/ModelColour.h"

namespace qx::ui {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

bool is(const std::string& property, const char* name) {
    return property.empty() || property == name;
}

}  // namespace

QWidget* createLabel(const std::shared_ptr<platform::Label>& model, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The tooltip holds the whole caption, for a label too narrow for it.
    ControlBinding::bind(model, label, [label, weak = std::weak_ptr(model)](const std::string& p) {
        auto m = weak.lock();
        // A label with room for two lines wraps a caption longer than it at word boundaries.
        if (is(p, "Height")) label->setWordWrap(label->height() >= 2 * label->fontMetrics().height());
        if (is(p, "Caption")) {
            label->setText(qText(m->caption()));
            label->setToolTip(label->text());
        }
        if (is(p, "BackColor") || is(p, "ForeColor")) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::Window, colourOf(m->backColor()));
            palette.setColor(QPalette::WindowText, colourOf(m->foreColor()));
            label->setPalette(palette);
        }
        if (is(p, "FontBold")) {
            QFont font = label->font();
            font.setBold(m->fontBold());
            label->setFont(font);
        }
    });
    return label;
}

QWidget* createTextBox(const std::shared_ptr<platform::TextBox>& model, QWidget* parent, bool showsOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(showsOnly);
    auto* binding =
        ControlBinding::bind(model, edit, [edit, weak = std::weak_ptr(model)](const std::string& p) {
            auto m = weak.lock();
            // Only a real change is copied, so the cursor stays where a person is typing.
            if (is(p, "Text") && edit->text() != qText(m->text())) edit->setText(qText(m->text()));
        });
    QObject::connect(edit, &QLineEdit::textEdited, binding, [edit, binding](const QString& text) {
        auto m = binding->model<platform::TextBox>();
        if (m && !m->userSetText(text.toStdString())) edit->setText(qText(m->text()));
    });
    return edit;
}

QWidget* createCommandButton(const std::shared_ptr<platform::CommandButton>& model, QWidget* parent) {
    auto* button = new QPushButton(parent);
    auto* binding =
        ControlBinding::bind(model, button, [button, weak = std::weak_ptr(model)](const std::string& p) {
            if (is(p, "Caption")) button->setText(qText(weak.lock()->caption()));
        });
    QObject::connect(button, &QPushButton::clicked, binding, [binding] {
        if (auto m = binding->model<platform::CommandButton>()) m->userClick();
    });
    return button;
}

QWidget* createCheckBox(const std::shared_ptr<platform::CheckBox>& model, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    auto* binding =
        ControlBinding::bind(model, box, [box, weak = std::weak_ptr(model)](const std::string& p) {
            auto m = weak.lock();
            if (is(p, "Caption")) box->setText(qText(m->caption()));
            if (is(p, "Value")) box->setChecked(m->value() != 0);
        });
    QObject::connect(box, &QCheckBox::clicked, binding, [box, binding](bool checked) {
        auto m = binding->model<platform::CheckBox>();
        if (!m) return;
        m->userSetValue(checked ? 1 : 0);
        box->setChecked(m->value() != 0);  // the model may have refused, or its click changed it again
    });
    return box;
}

QWidget* createComboBox(const std::shared_ptr<platform::ComboBox>& model, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    auto* binding =
        ControlBinding::bind(model, combo, [combo, weak = std::weak_ptr(model)](const std::string& p) {
            auto m = weak.lock();
            if (is(p, "ListCount")) {
                const QSignalBlocker quiet(combo);
                combo->clear();
                for (int32_t i = 0; i < m->listCount(); ++i) combo->addItem(qText(m->list(i)));
            }
            if (is(p, "ListIndex") || is(p, "ListCount")) {
                const QSignalBlocker quiet(combo);
                combo->setCurrentIndex(m->listIndex());
            }
        });
    QObject::connect(combo, &QComboBox::activated, binding, [combo, binding](int index) {
        auto m = binding->model<platform::ComboBox>();
        if (!m) return;
        m->userSetListIndex(index);
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(m->listIndex());
    });
    return combo;
}

QWidget* createFrame(const std::shared_ptr<platform::Frame>& model, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    ControlBinding::bind(model, box, [box, weak = std::weak_ptr(model)](const std::string& p) {
        if (is(p, "Caption")) box->setTitle(qText(weak.lock()->caption()));
    });
    return box;
}

QWidget* createSurface(const std::shared_ptr<platform::Control>& model, QWidget* parent) {
    auto* surface = new QWidget(parent);
    ControlBinding::bind(model, surface);
    return surface;
}

QWidget* createScrollBar(const std::shared_ptr<platform::ScrollBar>& model, QWidget* parent) {
    auto* bar = new QScrollBar(model->horizontal() ? Qt::Horizontal : Qt::Vertical, parent);
    auto* binding =
        ControlBinding::bind(model, bar, [bar, weak = std::weak_ptr(model)](const std::string& p) {
            auto m = weak.lock();
            const QSignalBlocker quiet(bar);
            if (is(p, "Min") || is(p, "Max"))
                bar->setRange(std::min(m->min(), m->max()), std::max(m->min(), m->max()));
            if (is(p, "Value") || is(p, "Min") || is(p, "Max")) bar->setValue(m->value());
        });
    QObject::connect(bar, &QScrollBar::valueChanged, binding, [bar, binding](int value) {
        auto m = binding->model<platform::ScrollBar>();
        if (!m) return;
        m->userSetValue(value);
        const QSignalBlocker quiet(bar);
        bar->setValue(m->value());
    });
    return bar;
}

}  // namespace qx::ui
