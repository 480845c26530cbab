// The standard security handler: protected files (RC4 40 to 128 bits, AES-128, AES-256) opened
// with the empty user password or the one the user gives, their streams decrypted with each
// object's key before any other filter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The password tried after the empty one (the console's --password, the window's box).
void SetDocumentPassword(const std::string& password);
const std::string& DocumentPassword();

// Reads the trailer's /Encrypt when there is one and finds the file key; records 44 (no
// password given opens it), 45 (the given one does not) or 46 (a handler not read). Called once
// the cross-reference is known and before object streams are read.
void PrepareDecryption();
void ResetDecryption();
bool DocumentEncrypted();

// Object n's stream bytes decrypted (the AES forms lose their IV and padding); false when the
// stream is to be taken as it stands (no encryption, the /Encrypt dictionary, cross-reference
// streams, /Identity).
bool DecryptStream(int32_t n, int32_t generation, const uint8_t* data, int32_t length, std::vector<uint8_t>* out);

// A string of object n (a layer's name, a measure's text) decrypted in place; strings of objects
// kept in an object stream were decrypted with it and stay as they are.
void DecryptObjectString(int32_t n, std::string* bytes);

// The same for a string found at `position` of the file, by the object whose body holds it.
void DecryptStringAt(int64_t position, std::string* bytes);

// "R 4, 128-bit AESV2" for the report; empty when the file is not protected.
std::string EncryptionDescription();

}  // namespace velmora
