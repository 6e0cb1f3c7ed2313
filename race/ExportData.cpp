#include "race/ExportData.h"

#include "race/RunRecorder.h"

ExportData::ExportData() = default;
ExportData::~ExportData() = default;
