/* The public header is C: it compiles as C99, and each entry matches its function pointer type. */
#include "Qmlanguage.h"

QmlanguageConvertProc const qmlanguageConvertEntries[] = {GBtoBIG5, BIG5toGB, GetBIG5Data, GetGBData};
QmlanguageSaveOrderProc const qmlanguageSaveOrderEntry = SaveOrder;
