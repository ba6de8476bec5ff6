#pragma once
// Marks the entry points a plug-in library exports; everything else in a plug-in is hidden.
#define QMX_EXPORT __attribute__((visibility("default")))
