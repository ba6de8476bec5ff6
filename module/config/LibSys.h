#pragma once
// The system library: scrambled password fields, exception texts and the generator alert log.
// Plain functions without state.
#include "config/ExceptionLog.h"
#include "config/GeneratorLog.h"
#include "config/PasswordField.h"
