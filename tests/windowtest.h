#pragma once

// The common frame of the tests that open the program's windows.

#include "platform/fonts.h"
#include "testsupport.h"

#include <memory>

/**
 * Base of the tests that open the program's windows: the design fonts, a fresh working folder
 * holding the program's icon for each test, and no window left open after it.
 * A test that needs more in init() calls WindowTest::init() first.
 */
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    explicit WindowTest(bool seedIcon = true)
        : m_seedIcon(seedIcon)
    { }

    std::unique_ptr<WorkingFolder> m_folder;

protected Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void init()
    {
        m_folder = std::make_unique<WorkingFolder>();
        VERIFY_FOLDER(*m_folder);
        if (m_seedIcon)
            QVERIFY(m_folder->copyIn(QStringLiteral(":/icon/ico.ico"), QStringLiteral("ico.ico")));
    }
    void cleanup()
    {
        m_folder.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

private:
    bool m_seedIcon;
};
