#include "clock/timesource.h"

namespace TimeSource {

namespace {

Reader &currentReader()
{
    static Reader reader;
    return reader;
}

} // namespace

QDateTime now()
{
    const Reader &reader = currentReader();
    return reader ? reader() : QDateTime::currentDateTimeUtc();
}

void set(Reader reader)
{
    currentReader() = std::move(reader);
}

void reset()
{
    currentReader() = nullptr;
}

} // namespace TimeSource
