// The program's version, shared by the version resource and any code that shows it.
#pragma once

#define VEXAMO_VERSION_NUMBERS 1, 0, 0, 0
#define VEXAMO_VERSION_TEXT "1.0.0.0"
