#pragma once

#include <QString>

/**
 * @brief What the settings code may change on the main window: dial B's city list, the city
 * captions under both dials and the two "Summer+Time" tags.
 *
 * The main window implements it; the settings reader and the clock-settings dialog use it, so
 * neither needs the main window's class.
 */
class MainFormControls
{
public:
    virtual ~MainFormControls() = default;

    /**
     * Selects the entry of the main window's city list (Combo1) whose text is @p city and runs the
     * list's click handler, as a user's choice would. Returns false, changing nothing, when no entry matches.
     */
    virtual bool selectCityB(const QString &city) = 0;

    /** The text of the entry selected in the main window's city list, or an empty text. */
    virtual QString selectedCityB() const = 0;

    virtual void setCityCaptionA(const QString &caption) = 0; ///< Label1
    virtual void setCityCaptionB(const QString &caption) = 0; ///< Label2
    virtual void showSummerTimeA(bool shown) = 0; ///< Label13
    virtual void showSummerTimeB(bool shown) = 0; ///< Label14
};
