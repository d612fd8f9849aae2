// The shared look of the shell's forms: a title band across the top, right-aligned captions
// beside their inputs, and the small key hints ("F10 設定").
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace FormLook {

// A dark band with the form's title in white and an optional note on the right.
QWidget *titleBand(const QString &title, const QString &note, QWidget *parent);
// A caption for an input, right-aligned and vertically centred.
QLabel *caption(const QString &text, QWidget *parent);
// A key hint in the muted colour of the function-key labels.
QLabel *keyHint(const QString &text, QWidget *parent);
// The frames (group boxes) of a form: a light panel with the caption in the title colour.
void styleFrames(QWidget *form);
// Centres a window on the screen it will appear on (call before its first show).
void centreOnScreen(QWidget *window);

} // namespace FormLook
