#pragma once
// An output that would replace the command's own input: the tool refuses it before it reads,
// because the book keeps less than most input files hold.

#include <QString>

// True when both names lead to one existing file, also through another path, a link or a
// hard link: the files are compared, not the names.
bool isSameFile(const QString& a, const QString& b);
// CLI_OK, or CLI_FAILED after saying that OUT is IN; nothing is written then.
int refuseOutputOntoInput(const QString& in, const QString& out);
// CLI_OK, or CLI_FAILED after saying that the report would be written over OUT (by the same name
// or, when OUT exists, as the same file); nothing is written then. No report is CLI_OK.
int refuseReportOntoOutput(const QString& out, const QString& report);
