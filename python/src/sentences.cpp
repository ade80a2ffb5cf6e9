// Instrument sentences: checksums and fields.
#include "common.h"

namespace quillon_python {
namespace {

quillon::FieldSyntax syntax_arg(const std::string& syntax) {
    if (syntax == "comma_only") return quillon::FieldSyntax::comma_only;
    if (syntax == "any_separator") return quillon::FieldSyntax::any_separator;
    if (syntax == "comma_keep_blanks") return quillon::FieldSyntax::comma_keep_blanks;
    raise_value_error("syntax must be 'comma_only', 'any_separator' or 'comma_keep_blanks', not '" + syntax + "'");
}

py::list split_fields(const py::handle& sentence, const std::string& syntax) {
    Text in = text_arg(sentence, "sentence");
    quillon::FieldReader reader(in.bytes, syntax_arg(syntax));
    py::list fields;
    for (std::string_view field; reader.next(&field);) fields.append(in.slice(field));
    return fields;
}

}  // namespace

void bind_sentences(py::module_& m) {
    m.def(
        "checksum", [](const py::handle& text) { return quillon::checksum_of(text_arg(text, "text").bytes); },
        py::arg("text"));
    m.def(
        "checksum_ok", [](const py::handle& sentence) { return quillon::checksum_ok(text_arg(sentence, "sentence").bytes); },
        py::arg("sentence"));
    m.def(
        "with_checksum",
        [](const py::handle& sentence) {
            Text in = text_arg(sentence, "sentence");
            std::string out = quillon::with_checksum(in.bytes);
            return in.slice(out);
        },
        py::arg("sentence"));
    m.def("split_fields", &split_fields, py::arg("sentence"), py::arg("syntax"));
}

}  // namespace quillon_python
