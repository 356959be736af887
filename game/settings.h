// The settings and scores kept in "Krellostra.dat" between runs.
#pragma once

void ReadSettings();  // at start-up: HiScore, SecondScore, ThirdScore, FullScreen, UseAudio
void WriteSettings(); // at exit: the scores and FullScreen; tells stderr if it cannot
