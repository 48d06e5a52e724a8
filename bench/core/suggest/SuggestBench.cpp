#include "Scenarios.h"

void bench::suggestScenarios(Run&) {}
