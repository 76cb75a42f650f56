#pragma once

#include <QString>

#include <functional>

class QDialog;

// Runs `act` on the modal dialog that `open` brings up, activated as a window
// manager would (focus and selection must survive that). A dialog still open
// afterwards is cancelled, so a failing check cannot hang the test. False
// when no dialog came up.
bool withModalDialog(const std::function<void()> &open, const std::function<void(QDialog &)> &act);

QString dialogLabel(QDialog &dialog, const char *name);
// Clicks the node of the dialog's folder tree tagged `tag` ("" is the root).
void pickInDialog(QDialog &dialog, const QString &tag);
