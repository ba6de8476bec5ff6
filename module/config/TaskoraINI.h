#pragma once
// The dispatch center's configuration: the client reader (TaskoraC.ini) and the server reader
// (TaskoraS.ini), both found through the registry key Software\QMX\Taskora.
#include "config/TaskoraIniC.h"
#include "config/TaskoraIniRules.h"
#include "config/TaskoraIniS.h"
