#pragma once

#include "Benchmark.h"

#include <QString>
#include <QStringList>

// The benchmark's report: the machine, the table of figures with the raw reference (SQLite's C API,
// or libpq for a shared base), the ratio and the target, and a last line that scripts read.
namespace ResultTable {

// "CPU model, N cores", from /proc/cpuinfo.
QString machine();
// The 1-minute load average, from /proc/loadavg.
QString loadAverage();

QStringList lines(const Figures &figures);
// bench: list=R search=R insert=R open=MS start=MS rss=MIB export=S import=S ... modify=R delcat=R restore=S
// exec=R pglist=R pgsearch=R
// pginsert=R pgnotify=MS pgupload=S
QString lastLine(const Figures &figures);

} // namespace ResultTable
