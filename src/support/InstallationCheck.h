#pragma once
// Whether the data files the view reads beside the library are there and whole: the chart
// definition PC1.dat and the resource database QX_FlowRes.mdb. The view on its own only logs
// such a fault and goes on without charts or texts, which leaves a dead page; a front end checks
// first and refuses to start, naming the file and what is wrong with it.
#include <string>
#include <vector>

#include "platform/PackageInternal.h"

namespace qx::support {

struct InstallationFault {
    std::string path;  // the file's full path
    std::string why;   // printable: nothing of a corrupt file reaches the terminal raw
};

// The faults of the data files in `folder` (the library's folder in an installation); empty
// when both files are fit for the view. Both must be regular files (no FIFO, device or folder) of
// a sane size.
QX_FLOW_INTERNAL std::vector<InstallationFault> checkLibraryFiles(const std::string& folder);

// The chart definition's fault, if any: it must give every section and key the trend charts take
// from it, so that a copy cut short is refused.
std::vector<InstallationFault> checkChartDefinition(const std::string& path);
// The resource database's fault, if any: it must have the layout the view asks for, hold its
// texts as UTF-8 text (never binary data) and its pictures as PNG, and give a text when opened
// exactly as the view opens it (which a database in WAL mode or with a stray log beside it does
// not).
std::vector<InstallationFault> checkResourceFile(const std::string& path);

}  // namespace qx::support
