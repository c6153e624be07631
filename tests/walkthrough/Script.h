#pragma once

#include <QString>

class Walkthrough;

// An officer script: one line an action or a check, replayed on the walkthrough's phone. The actions
// are the walkthrough log's own words ("tap", "type", "choose", "swipe", "drag", "key", with or without
// the log's leading "action"), so a logged run replays as it is, and "pick LABEL" (a row of the open pick
// list). The checks and helpers are "expect-showing NAME", "expect-hidden NAME", "expect-text NAME TEXT",
// "expect-property NAME PROPERTY VALUE", "expect-alert TITLE", "expect-printed NAME", "screenshot NAME",
// "record NAME", "sign-in [CODE PASSWORD]" and "reopen-login"; and for what the window does not show,
// "expect-record KEY TEXT" (the current record), "expect-stored" (the current record is the stored
// compound of its number) and "expect-stored-count N". An expected TEXT may name the current record's
// values as {KEY}, and with a leading '~' is a regular expression; {device}, {officer} and {password}
// stand for the walkthrough's own anywhere in a line. Blank lines and lines starting with '#' are skipped.
//
// The first line that fails stops the run: its number, the line and why are printed and a screenshot
// taken. 0 when every line held and no QML warning was printed.
int runScript(Walkthrough& w, const QString& path);
