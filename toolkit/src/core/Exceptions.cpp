#include "qmx/toolkit/Exceptions.h"

namespace qmx {

void Abort() { throw EAbort("Operation aborted"); }

} // namespace qmx
