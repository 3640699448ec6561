// The fixed set of nine windows, created once at start-up.
#pragma once

class TApplication;

// Creates the nine windows hidden, each into its reference of Forms.h, in this order: login
// (the main window), fleet, message box, registration, vehicle type, area, plate keyboard,
// usage advice, display settings. Each creation handler runs inside its step.
void CreateWindowSet(TApplication& application);
