#pragma once

// The application's "terminate" request: code that runs before the message loop (window
// creation at start-up) asks for the end, and the entry routine then skips the loop; inside the
// loop the request ends it at once.
void RequestTerminate();
bool TerminateRequested();
// For tests that take the failure paths.
void ClearTerminateRequest();
