#pragma once
int RunProgram(int argc, char** argv);
