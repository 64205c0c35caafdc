#pragma once

#include "document/fieldcommands.h"

#include <vector>

class SheetDocument;
struct SheetLayout;

// "Dopasuj rozmiar": every chosen field whose text does not fit takes the
// largest whole pixel size, below its present one and at least
// FieldPainter::smallestFittedSize, at which it fits; one that fits at no
// such size takes the smallest. Fields that fit keep their size, and so do
// fields with an automatic size, which fit themselves already.
namespace SizeFit {

struct Plan
{
    std::vector<FontIndexCommand::Run> runs;   // the changes, for a FontIndexCommand
    qsizetype changed = 0;
    qsizetype stillOverflowing = 0;   // chosen fields that do not fit even so
};

// The plan for fields `ids` (ascending; empty means every field of the
// sheet). Adds the fonts it needs to the document's table, changes no field.
Plan plan(SheetDocument &document, const SheetLayout &sheet, const std::vector<qsizetype> &ids);

} // namespace SizeFit
