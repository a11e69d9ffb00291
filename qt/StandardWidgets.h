#pragma once
// Widgets for the standard control models: each shows what its model holds and hands a person's
// input to the model's user entry point, which refuses it for a hidden or disabled control; a
// refused input puts the widget back to what the model holds.
#include <QWidget>
#include <memory>

#include "platform/StandardControls.h"

namespace qx::ui {

QWidget* createLabel(const std::shared_ptr<platform::Label>& model, QWidget* parent);
// A box the view only writes (`showsOnly`) is read-only on screen: the model would take a
// person's text, and the view's next update would overwrite it without a trace.
QWidget* createTextBox(const std::shared_ptr<platform::TextBox>& model, QWidget* parent,
                       bool showsOnly = false);
QWidget* createCommandButton(const std::shared_ptr<platform::CommandButton>& model, QWidget* parent);
QWidget* createCheckBox(const std::shared_ptr<platform::CheckBox>& model, QWidget* parent);
QWidget* createComboBox(const std::shared_ptr<platform::ComboBox>& model, QWidget* parent);
// A frame with a caption draws a titled border; the view's scroll form and picture boxes are
// plain surfaces.
QWidget* createFrame(const std::shared_ptr<platform::Frame>& model, QWidget* parent);
QWidget* createSurface(const std::shared_ptr<platform::Control>& model, QWidget* parent);
QWidget* createScrollBar(const std::shared_ptr<platform::ScrollBar>& model, QWidget* parent);

}  // namespace qx::ui
