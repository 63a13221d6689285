#pragma once

#include <QWidget>

class DialPair;

/**
 * @brief The main window's client area below its menu bar: the window-background colour with the
 * dials' outlines and hands drawn on it. The labels, the picture box and the city list lie above it.
 */
class MainSurface : public QWidget
{
    Q_OBJECT
public:
    explicit MainSurface(QWidget *parent = nullptr);

    void setDials(const DialPair *dials) { m_dials = dials; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const DialPair *m_dials = nullptr;
};
