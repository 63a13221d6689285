#pragma once

/**
 * @brief A help page as a screen reader reads it: its text, with each picture read as its alternative
 * text instead of as an object replacement character. Offsets are the page's own, so the reader's
 * caret, selection and line and word steps keep working.
 */
namespace PageAccessibility {

/** Makes every text browser of the program read so; the help window calls it once. */
void install();

} // namespace PageAccessibility
