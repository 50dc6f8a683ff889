#pragma once
// The scalar fields of TIOParamsVals by name, as text: what --info prints and --set accepts.
// Colours are written "#RRGGBB"; booleans 0 or 1.

#include "formats/core/io_params.h"

#include <string>
#include <vector>

struct TParamField {
    std::string Name;
    std::string (*Get)(const TIOParamsVals&);
    // False when the text is not a value of the field's type.
    bool (*Set)(TIOParamsVals&, const std::string&);
};

const std::vector<TParamField>& ParamFields();
const TParamField* FindParamField(const std::string& name);
