#include "layout/logic/SplitterChild.h"

SplitterChild::~SplitterChild() = default;
