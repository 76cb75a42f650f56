#include "layout/logic/SplitterBar.h"

SplitterBar::~SplitterBar() = default;
