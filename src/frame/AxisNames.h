#pragma once

#include "core/MList.h"
#include "frame/WText.h"

// What an axis label names, by the first line of its text, whatever its
// case: the status bar and the cohort lines read the Lexis diagram's axes
// from the labels.
enum class AxisName { Other, Year, Age, Cohort };

AxisName AxisNamed(const MList<WText>& label);
