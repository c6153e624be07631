#pragma once

class Walkthrough;

// The walkthrough's flows, in the order an officer meets them; each adds its steps.
void signInFlow(Walkthrough& w);
void offenceFlow(Walkthrough& w);
void formsFlow(Walkthrough& w);
void photoFlow(Walkthrough& w);
void printingFlow(Walkthrough& w);
void uploadFlow(Walkthrough& w);
