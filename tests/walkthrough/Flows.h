#pragma once

class Walkthrough;

// The walkthrough's flows, in the order an officer meets them; each adds its steps.
void signInFlow(Walkthrough& w);
void offenceFlow(Walkthrough& w);
void formsFlow(Walkthrough& w);
void licenceFlow(Walkthrough& w);
void mapFlow(Walkthrough& w);
void photoFlow(Walkthrough& w);
void printingFlow(Walkthrough& w);
void compoundFlow(Walkthrough& w);
void printedListFlow(Walkthrough& w);
void summaryFlow(Walkthrough& w);
void uploadFlow(Walkthrough& w);
void favouriteDeleteFlow(Walkthrough& w);
