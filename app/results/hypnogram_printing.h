#pragma once
// The print start shared by the hypnogram windows (the trend window and the utility
// hypnogram window): the print font and whether the printer prints in colour.
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"

// Creates the print font for the printer context and takes its colour capability into
// PrintInColor.
void OnBeginPrinting(draw::Dc& printerDc);
// Lets the print font go.
void OnEndPrinting();
// The print font (the default font before OnBeginPrinting).
const draw::Font& PrintFont();
