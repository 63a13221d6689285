#pragma once

#include <QDateTime>

#include <functional>

/**
 * @brief The one place the program reads the present local date and time.
 *
 * Tests fix the clock with set(); the readings they give are taken by their date and time fields,
 * so a test may name a wall-clock time that a daylight-saving change skips.
 */
namespace TimeSource {

using Reader = std::function<QDateTime()>;

/** The present reading: the computer's local date and time, or the reader set by set(). */
QDateTime now();

void set(Reader reader);
void reset();

} // namespace TimeSource
