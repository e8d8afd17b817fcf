#pragma once

#include <QString>

// What the contact card's "..." buttons hand to the desktop.

// "mailto:" and the address, every character that cannot stand in an address
// percent-encoded ("?", "&", "%", "#", blanks; "@" stays), so that no header or
// attachment can ride along. An empty box gives "mailto:" alone.
QString MailLink(const QString& address);

// A web address of the http, https or ftp scheme, given "http://" when it has none;
// "" (nothing to open) for an empty box, a path, "file:" or any other scheme.
QString WebLink(const QString& typed);
