#pragma once

#include <QProxyStyle>

/**
 * @brief The program's style: the platform's, except that the menus' shortcut letters (Alt+F, Alt+O,
 * Alt+H) are underlined only while Alt is held, as desktops show them, so the menu bar looks as
 * designed until the keyboard asks for it.
 */
class MenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
