// Start-up of the client: the application object, its title, the deployment options, the
// window set and the message loop.
#pragma once

// Runs the client until its message loop ends; the process's exit code.
int RunClient(int& argc, char** argv);
