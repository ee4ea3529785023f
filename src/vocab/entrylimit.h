// The most entries the program takes from a word list: the scan stops there, and a stored
// rotation over more entries is damaged. Its own header, so that the rotation needs no reader.
#pragma once

const int maxEntries = 4000;
