// The Vandrel desktop client.
#include "app/Startup.h"

int main(int argc, char** argv) { return RunClient(argc, argv); }
