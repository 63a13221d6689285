#pragma once

#include <QString>

class QWidget;

/**
 * @brief The program's message box: one "OK" button and the program's title as caption.
 *
 * It blocks until the user presses OK; tests answer it through QApplication::activeModalWidget().
 */
namespace MessageBox {

inline constexpr char Caption[] = "Horavista";

/** Shows @p text without an icon and waits for OK. */
void show(QWidget *parent, const QString &text);

} // namespace MessageBox
