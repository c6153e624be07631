#pragma once

class Alerts;
class Files;
class Log;
class Positioning;
class Progress;

// Services that do nothing, standing in wherever none was given (a tool, a test, a part built alone), so
// that no caller has to ask whether it has a log or an alert queue before using it.
namespace NullServices {
Log& log();
Alerts& alerts();
Progress& progress();
Files& files();
Positioning& positioning();
} // namespace NullServices

// The service given, or the one that does nothing.
Log* orNothing(Log* log);
Alerts* orNothing(Alerts* alerts);
Progress* orNothing(Progress* progress);
