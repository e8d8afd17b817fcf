#pragma once

#include <QString>
#include <QStringList>

// Hands a web address, "mailto:" link or local file to the desktop's default handler.
namespace Shell {

void Open(const QString& target);
// True when the desktop has a default application for PDF files.
bool PdfHandlerRegistered();

// For tests: record the targets instead of opening them. TESSARYN_SHELL_RECORD=1 in
// the environment does the same for a whole process and writes each target to
// standard error.
void SetRecording(bool on);
const QStringList& Opened();

}  // namespace Shell
