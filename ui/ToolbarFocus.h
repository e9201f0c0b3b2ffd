// The keyboard focus between the tool-bar controls and the editing view:
// while a control holds the focus, mouse moves over the view must not take
// it back; when a drop-down list closes, the view gets the focus again.
#pragma once

class QWidget;

// The control took the focus: the view stops taking it back.
void ToolbarControlFocusIn(const QWidget* control);
// The control gave the focus up: the view takes it back on the next move.
void ToolbarControlFocusOut(const QWidget* control);
// A drop-down list closed: the editing view gets the keyboard focus.
void FocusEditingView(const QWidget* control);
