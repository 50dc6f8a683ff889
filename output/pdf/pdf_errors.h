#pragma once
// Exceptions of the PDF layer. Their texts are the writer's own (English) and reach the user
// through the application's error box.

#include <stdexcept>

// A general failure (an invalid image class, a duplicate image name...).
class EPdfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// An operation the current state does not allow (no document, no page, a property locked).
class EPdfInvalidOperation : public EPdfError {
public:
    using EPdfError::EPdfError;
};
// A value that cannot be used (an unknown resource name, a non-image object).
class EPdfInvalidValue : public EPdfError {
public:
    using EPdfError::EPdfError;
};
// An image the image creator cannot turn into a PDF image.
class EPdfInvalidImageFormat : public EPdfError {
public:
    using EPdfError::EPdfError;
};
// A report operation without an open document.
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// The output stream refused bytes.
class EWriteError : public std::runtime_error {
public:
    EWriteError() : std::runtime_error("Stream write error") {}
};
