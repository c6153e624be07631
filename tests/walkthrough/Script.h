#pragma once

#include <QString>

class Walkthrough;

// An officer script: one line an action or a check, replayed on the walkthrough's phone. The actions
// are the walkthrough log's own words ("tap", "type", "choose", "swipe", "drag", "key", with or without
// the log's leading "action"), so a logged run replays as it is; the checks and helpers are
// "expect-showing NAME", "expect-text NAME TEXT", "expect-alert TITLE", "screenshot NAME",
// "record NAME" and "sign-in CODE PASSWORD"; and for what the window does not show, "expect-record KEY
// TEXT" (the current record), "expect-stored" (the current record is the stored compound of its number)
// and "expect-stored-count N". Blank lines and lines starting with '#' are skipped.
//
// The first line that fails stops the run: its number, the line and why are printed and a screenshot
// taken. 0 when every line held and no QML warning was printed.
int runScript(Walkthrough& w, const QString& path);
