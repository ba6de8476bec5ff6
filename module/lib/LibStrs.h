#pragma once
// The module's utility library: delimited texts, styled and compact dates, periodic and relative
// dates, code-page conversion of values, and the alert log. Free functions without state of
// their own; all may be called from any thread.
#include "lib/AlertLog.h"
#include "lib/LibStrsConvert.h"
#include "lib/LibStrsDates.h"
#include "lib/LibStrsPeriod.h"
#include "lib/LibStrsServices.h"
#include "lib/LibStrsText.h"
