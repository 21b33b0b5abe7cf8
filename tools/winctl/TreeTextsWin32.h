#pragma once
#include <windows.h>

// Prints the texts of a tree view of any process, one item a line, each indented by two blanks a
// level; 1 when the tree cannot be read.
int PrintTreeTexts(HWND tree);
