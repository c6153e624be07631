#pragma once

class Application;

// Loads the window and then every screen of the QML module once, offscreen, without any of its
// collaborators set; 0 when no QML warning or load error was seen.
int runSelfTest(Application& application);
