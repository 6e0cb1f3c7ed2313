#pragma once
// The finished results: the final-result board keeps each race's result record here
// and puts its handle, a small positive integer, into the variable "egd"; the
// front-end's result handlers (the results page's click, the pursuit start, the buddy
// and career handlers) turn "egd" back into the record and release it when they are
// done. A handle is never given out twice, so a stale "egd" finds nothing.
#include <cstdint>
#include <memory>

struct ExportData;

/// Takes the record over; its handle (> 0), or 0 for a null record.
std::int32_t StoreFinishedResult(std::unique_ptr<ExportData> result);
/// The record of a handle, as often as needed until its release; null for a released
/// or unknown handle.
ExportData* GetFinishedResult(std::int32_t handle);
/// Destroys the record of the handle; a released or unknown handle does nothing.
void ReleaseFinishedResult(std::int32_t handle);
/// Destroys every record kept (tests).
void ReleaseAllFinishedResults();
