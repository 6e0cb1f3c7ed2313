#include "scene/AnimInstance.h"

#include "scene/AnimEmitorSet.h"

N_AnimInstance::N_AnimInstance() = default;

N_AnimInstance::~N_AnimInstance() = default;
