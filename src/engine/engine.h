#pragma once

// The conversion: the line-break rule, number reading, rounding, gradient arithmetic,
// colours as text, the step, the output formats, the code writer and the preview plan.
#include "engine/colortext.h"
#include "engine/conversion.h"
#include "engine/gradient.h"
#include "engine/linebreaks.h"
#include "engine/markup.h"
#include "engine/numbers.h"
#include "engine/outputformat.h"
#include "engine/preview.h"
#include "engine/refusals.h"
#include "engine/stepbox.h"
#include "engine/textgroups.h"
