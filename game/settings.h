// The settings and scores kept in "Krellostra.dat" between runs.
#pragma once

#include <string>

void ReadSettings(); // at start-up: HiScore, SecondScore, ThirdScore, FullScreen, UseAudio
// At exit: the scores and FullScreen. When they cannot be saved, says why on stderr and
// returns it told for the player, naming the file; empty when saved.
std::string WriteSettings();
