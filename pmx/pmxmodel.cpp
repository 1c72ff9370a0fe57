// pmxmodel.cpp - the one model of the run.
#include "pmx/pmxmodel.h"

PmxModel pmxModel;
