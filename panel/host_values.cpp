// host_values.cpp - the process-wide value records and descriptor, and the
// one conversion of shown numbers to control integers.

#include "panel.h"

#include <math.h>

HostValue stringValue = {HV_STRING};
HostValue intValue = {HV_INTEGER};
HostValue floatValue = {HV_FLOAT};
HostValue ivecValue = {HV_IVECTOR};
ControlDesc controlDesc;

int32_t truncateToInt32(double value)
{
    if (isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}
