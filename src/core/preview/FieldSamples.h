#pragma once
#include <string>

#include "model/LocalTime.h"
#include "model/Project.h"

namespace vem {

// What field n (1..18) shows in the preview, `f.length` characters long (Windows-1252; at most
// one more than the screen holds):
// - the date as DD.MM.YY and the time as HH:MM:SS at `time`, cut or filled with spaces;
// - a data field of a date or time type (DD/MM/YY ... Sekunde) the same at `time`;
// - a counter ("Datenzähler") its largest value, nines;
// - any other data field its description when it fits, filled up with "_", else the
//   digits 1234567890 over and over, so the field's length can be counted.
std::string fieldSample(int n, const FieldDefinition& f, const LocalTime& time);

}  // namespace vem
