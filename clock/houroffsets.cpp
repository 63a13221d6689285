#include "clock/houroffsets.h"

qint16 HourOffsetA = 0;
qint16 HourOffsetB = 0;
