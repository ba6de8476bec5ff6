#pragma once
// The run-parameter array of a job, checked as the dispatch center needs it before the job is
// stored:
//   [0] environment rows 1..EnvCount (EnvCount >= 12 and equal to row 2): program, EnvCount,
//       CondCount, company, user, data source, date-time, server class, job kind (a letter; lower
//       case for a periodic job), run mode (0, 1, 2), run time, receivers ("", "N" or a document
//       whose root element is Root)
//   [1] condition texts 1..CondCount, each [caption, control name, ...]
//   [2] condition values 1..CondCount, none missing
//   periodic jobs only (and then always, with run mode 2):
//   [3] schedule [0..3]: "Y", "hh:mm", the period rule, the range [start, 0], [start, 1, runs]
//       or [start, 2, end]
//   [4] relative date rules [0..n]: n, then n rules each naming its condition row by number
#include "qmx/CodePage.h"
#include "qmx/Exception.h"
#include "qmx/reference/JobQueue.h"

namespace qmx::reference {

// A run-parameter array that cannot be taken; the message (in the database code page) says why.
class ERunParams : public Exception {
public:
    using Exception::Exception;
};

// The job of the run parameters: every field of the record but number, status and times of the
// queue. Raises ERunParams.
JobRecord ReadRunParams(const Variant& params, CodePage codePage);

} // namespace qmx::reference
