// The keyboard library's own start and end of signal catching.
#pragma once

void CatchQuitSignals();   // catches SIGTERM, SIGHUP and SIGINT; forgets any caught before
void ReleaseQuitSignals(); // gives the signals back their usual effect
