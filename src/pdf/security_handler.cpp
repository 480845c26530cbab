#include "pdf/security_handler.h"

#include <gcrypt.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "pdf/document_values.h"
#include "pdf/error_list.h"
#include "pdf/lexical.h"
#include "pdf/page_tree.h"
#include "pdf/reader_bytes.h"
#include "store/document_store.h"

namespace velmora {

namespace {

constexpr uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                  0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                  0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};
constexpr int kAesBlock = 16;
constexpr size_t kLongestPassword = 127;  // bytes of a revision 5 or 6 password that count

enum class Method { None, Rc4, Aes128, Aes256 };

struct Security {
    bool active = false;
    Method method = Method::None;
    int revision = 0;
    int key_bits = 0;
    bool identity_streams = false;
    bool identity_strings = false;
    std::vector<uint8_t> key;
};

Security g_security;
const std::string kEmptyPassword;
std::string g_password;

using Bytes = std::vector<uint8_t>;

bool StartLibrary() {
    static const bool started = [] {
        if (gcry_check_version(nullptr) == nullptr) return false;
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    return started;
}

Bytes Hash(int algorithm, const Bytes& data) {
    Bytes out(gcry_md_get_algo_dlen(algorithm));
    gcry_md_hash_buffer(algorithm, out.data(), data.data(), data.size());
    return out;
}

// RC4 is its own inverse; AES in CBC without padding, encrypting or decrypting in place.
bool Cipher(int algorithm, int mode, const uint8_t* key, size_t key_length, const uint8_t* iv, bool encrypt,
            uint8_t* data, size_t length) {
    gcry_cipher_hd_t handle = nullptr;
    if (gcry_cipher_open(&handle, algorithm, mode, 0) != 0) return false;
    bool ok = gcry_cipher_setkey(handle, key, key_length) == 0;
    if (ok && iv != nullptr) ok = gcry_cipher_setiv(handle, iv, kAesBlock) == 0;
    if (ok && length > 0) {
        ok = (encrypt ? gcry_cipher_encrypt(handle, data, length, nullptr, 0)
                      : gcry_cipher_decrypt(handle, data, length, nullptr, 0)) == 0;
    }
    gcry_cipher_close(handle);
    return ok;
}

void Rc4(const Bytes& key, Bytes* data) {
    Cipher(GCRY_CIPHER_ARCFOUR, GCRY_CIPHER_MODE_STREAM, key.data(), key.size(), nullptr, false, data->data(), data->size());
}

// A PDF string at `p` (literal with escapes, or hex) within `end`; empty when none stands there.
Bytes StringAt(int64_t p, int64_t end) {
    Bytes out;
    while (p < end && IsPdfWhitespace(ByteAt(p))) ++p;
    if (ByteAt(p) == '<') {
        int nibble = -1;
        for (++p; p < end && ByteAt(p) != '>'; ++p) {
            const uint8_t c = ByteAt(p);
            int v = -1;
            if (c >= '0' && c <= '9') v = c - '0';
            if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            if (v < 0) continue;
            if (nibble < 0) {
                nibble = v;
            } else {
                out.push_back(static_cast<uint8_t>(nibble * 16 + v));
                nibble = -1;
            }
        }
        if (nibble >= 0) out.push_back(static_cast<uint8_t>(nibble * 16));
        return out;
    }
    if (ByteAt(p) != '(') return out;
    int depth = 1;
    for (++p; p < end; ++p) {
        uint8_t c = ByteAt(p);
        if (c == '\\') {
            const uint8_t e = ByteAt(++p);
            if (e >= '0' && e <= '7') {
                int value = 0;
                for (int k = 0; k < 3 && ByteAt(p) >= '0' && ByteAt(p) <= '7'; ++k, ++p) value = value * 8 + (ByteAt(p) - '0');
                --p;
                out.push_back(static_cast<uint8_t>(value));
                continue;
            }
            if (e == '\r' || e == '\n') {  // a line continued
                if (e == '\r' && ByteAt(p + 1) == '\n') ++p;
                continue;
            }
            const char* from = "nrtbf";
            const char* to = "\n\r\t\b\f";
            const char* found = std::strchr(from, e);
            out.push_back(found != nullptr && e != 0 ? static_cast<uint8_t>(to[found - from]) : e);
            continue;
        }
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) break;
        out.push_back(c);
    }
    return out;
}

bool IsDelimiterByte(uint8_t c) { return c != 0 && std::strchr("()<>[]{}/%", c) != nullptr; }

// Past the value at `p`: a string (escapes and nesting), a hex string, a dictionary or array
// (nesting), or a plain token.
int64_t SkipValue(int64_t p, int64_t end) {
    while (p < end && IsPdfWhitespace(ByteAt(p))) ++p;
    const uint8_t c = ByteAt(p);
    if (c == '(') {
        int depth = 0;
        for (; p < end; ++p) {
            if (ByteAt(p) == '\\') { ++p; continue; }
            if (ByteAt(p) == '(') ++depth;
            if (ByteAt(p) == ')' && --depth == 0) return p + 1;
        }
        return end;
    }
    if (c == '<' && ByteAt(p + 1) != '<') {
        while (p < end && ByteAt(p) != '>') ++p;
        return p + 1;
    }
    if (c == '[' || (c == '<' && ByteAt(p + 1) == '<')) {
        const uint8_t close = c == '[' ? ']' : '>';
        int depth = 0;
        while (p < end) {
            const uint8_t b = ByteAt(p);
            if (b == '(' || (b == '<' && ByteAt(p + 1) != '<')) { p = SkipValue(p, end); continue; }
            if (b == c) ++depth;
            if (b == close) {
                if (close == '>') ++p;
                if (--depth == 0) return p + 1;
            }
            ++p;
        }
        return end;
    }
    if (c == '/') ++p;
    while (p < end && !IsPdfWhitespace(ByteAt(p)) && !IsDelimiterByte(ByteAt(p))) ++p;
    return p;
}

// The value of the top-level entry `name` of the dictionary whose bytes run from `start`
// (behind "<<") to `end`; -1 when it has none. Binary strings are stepped over whole.
int64_t ValueOf(int32_t start, int32_t end, const char* name) {
    const size_t length = std::strlen(name);
    for (int64_t p = start; p < end;) {
        while (p < end && ByteAt(p) != '/') {
            if (ByteAt(p) == '(' || ByteAt(p) == '<' || ByteAt(p) == '[') {
                p = SkipValue(p, end);
            } else {
                ++p;
            }
        }
        if (p >= end) return -1;
        const int64_t name_start = p + 1;
        p = SkipValue(p, end);
        const bool match = p - name_start == static_cast<int64_t>(length) &&
                           std::memcmp(g_file.data + name_start, name, length) == 0;
        if (match) return p;
        p = SkipValue(p, end);
    }
    return -1;
}

Bytes EntryString(int32_t start, int32_t end, const char* name) {
    const int64_t value = ValueOf(start, end, name);
    if (value < 0) return {};
    return StringAt(value, end);
}

int64_t EntryInteger(int32_t start, int32_t end, const char* name, int64_t fallback) {
    const int64_t found = ValueOf(start, end, name);
    if (found < 0) return fallback;
    const int32_t value = ClampToInt32(found);
    int64_t p = value;
    while (p < end && IsPdfWhitespace(ByteAt(p))) ++p;
    return std::strtoll(std::string(reinterpret_cast<const char*>(g_file.data + p),
                                    static_cast<size_t>(std::min<int64_t>(24, end - p))).c_str(), nullptr, 10);
}

bool DictionaryHas(int32_t start, int32_t end, const char* text) {
    const std::string_view bytes(reinterpret_cast<const char*>(g_file.data + start), static_cast<size_t>(end - start));
    return bytes.find(text) != std::string_view::npos;
}

Bytes FirstId() {
    if (g_document.id_end <= 0) return {};
    int32_t value = 0;
    if (FindExactEntry(g_document.id_start, g_document.id_end, "ID", &value) == 0) return {};
    int64_t p = value;
    while (p < g_document.id_end && ByteAt(p) != '[') ++p;
    return StringAt(p + 1, g_document.id_end);
}

// Revisions 2 to 4: the key from the padded password, O, P and the first ID.
Bytes KeyFromPassword(const std::string& password, const Bytes& o, int64_t p, const Bytes& id, int revision,
                      int key_bytes, bool metadata_encrypted) {
    Bytes input;
    for (size_t k = 0; k < 32; ++k) input.push_back(k < password.size() ? static_cast<uint8_t>(password[k]) : kPadding[k - std::min<size_t>(password.size(), 32)]);
    input.insert(input.end(), o.begin(), o.begin() + std::min<size_t>(o.size(), 32));
    const auto permissions = static_cast<uint32_t>(p);
    for (int k = 0; k < 4; ++k) input.push_back(static_cast<uint8_t>(permissions >> (8 * k)));
    input.insert(input.end(), id.begin(), id.end());
    if (revision >= 4 && !metadata_encrypted) input.insert(input.end(), 4, 0xFF);
    Bytes key = Hash(GCRY_MD_MD5, input);
    if (revision >= 3) {
        for (int i = 0; i < 50; ++i) key = Hash(GCRY_MD_MD5, Bytes(key.begin(), key.begin() + key_bytes));
    }
    key.resize(static_cast<size_t>(key_bytes));
    return key;
}

bool UserPasswordOpens(const Bytes& key, const Bytes& u, const Bytes& id, int revision) {
    if (revision == 2) {
        Bytes check(kPadding, kPadding + 32);
        Rc4(key, &check);
        return u.size() >= 32 && std::equal(check.begin(), check.end(), u.begin());
    }
    Bytes input(kPadding, kPadding + 32);
    input.insert(input.end(), id.begin(), id.end());
    Bytes check = Hash(GCRY_MD_MD5, input);
    for (int i = 0; i <= 19; ++i) {
        Bytes round = key;
        for (uint8_t& b : round) b = static_cast<uint8_t>(b ^ i);
        Rc4(round, &check);
    }
    return u.size() >= 16 && std::equal(check.begin(), check.begin() + 16, u.begin());
}

// Revision 6's hash of the password, a salt and (for the owner) U; revision 5's is SHA-256 alone.
Bytes HardenedHash(const std::string& password, const uint8_t* salt, int revision) {
    Bytes input(password.begin(), password.end());
    input.insert(input.end(), salt, salt + 8);
    Bytes k = Hash(GCRY_MD_SHA256, input);
    if (revision == 5) return k;
    for (int round = 0;; ++round) {
        Bytes one(password.begin(), password.end());
        one.insert(one.end(), k.begin(), k.end());
        Bytes k1;
        for (int r = 0; r < 64; ++r) k1.insert(k1.end(), one.begin(), one.end());
        if (!Cipher(GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_CBC, k.data(), 16, k.data() + 16, true, k1.data(), k1.size())) {
            return {};
        }
        int sum = 0;
        for (int b = 0; b < 16; ++b) sum += k1[b];
        const int algorithm = sum % 3 == 0 ? GCRY_MD_SHA256 : sum % 3 == 1 ? GCRY_MD_SHA384 : GCRY_MD_SHA512;
        k = Hash(algorithm, k1);
        if (round >= 63 && k1.back() <= round - 31) break;
    }
    k.resize(32);
    return k;
}

bool OpenAes256(const std::string& raw_password, const Bytes& u, const Bytes& ue, int revision, Bytes* key) {
    if (u.size() < 48 || ue.size() < 32) return false;
    const std::string password = raw_password.substr(0, std::min(raw_password.size(), kLongestPassword));
    const Bytes check = HardenedHash(password, u.data() + 32, revision);
    if (check.size() < 32 || !std::equal(check.begin(), check.begin() + 32, u.begin())) return false;
    const Bytes intermediate = HardenedHash(password, u.data() + 40, revision);
    if (intermediate.size() < 32) return false;
    Bytes file_key(ue.begin(), ue.begin() + 32);
    const uint8_t zero_iv[kAesBlock] = {};
    if (!Cipher(GCRY_CIPHER_AES256, GCRY_CIPHER_MODE_CBC, intermediate.data(), 32, zero_iv, false, file_key.data(), 32)) {
        return false;
    }
    *key = file_key;
    return true;
}

}  // namespace

void SetDocumentPassword(const std::string& password) { g_password = password; }
const std::string& DocumentPassword() { return g_password; }

void ResetDecryption() { g_security = Security{}; }
bool DocumentEncrypted() { return g_security.active; }

void PrepareDecryption() {
    ResetDecryption();
    const int32_t n = g_document.encrypt.number;
    int32_t start = 0, end = 0;
    if (n <= 0) return;
    if (!DictionaryBounds(n, &start, &end) || !StartLibrary()) {
        RecordError(kErrorEncryptionUnsupported);
        return;
    }
    if (!DictionaryHas(start, end, "/Standard")) {
        RecordError(kErrorEncryptionUnsupported);
        return;
    }
    const int64_t v = EntryInteger(start, end, "V", 0);
    const int revision = static_cast<int>(EntryInteger(start, end, "R", 0));
    const Bytes o = EntryString(start, end, "O");
    const Bytes u = EntryString(start, end, "U");
    const int64_t p = EntryInteger(start, end, "P", 0);
    const bool metadata = !DictionaryHas(start, end, "/EncryptMetadata false");
    Security security;
    security.revision = revision;
    Bytes key;
    bool opened = false;
    if (revision >= 2 && revision <= 4) {
        security.method = Method::Rc4;
        int bits = revision == 2 ? 40 : static_cast<int>(EntryInteger(start, end, "Length", 40));
        if (v >= 4) {
            if (DictionaryHas(start, end, "/AESV2")) security.method = Method::Aes128;
            bits = 128;
            security.identity_streams = DictionaryHas(start, end, "/StmF/Identity") || DictionaryHas(start, end, "/StmF /Identity");
            security.identity_strings = DictionaryHas(start, end, "/StrF/Identity") || DictionaryHas(start, end, "/StrF /Identity");
        }
        bits = std::clamp(bits / 8 * 8, 40, 128);
        security.key_bits = bits;
        const Bytes id = FirstId();
        const std::string* const candidates[] = {&kEmptyPassword, &g_password};
        for (const std::string* password : candidates) {
            if (opened || (password == &g_password && g_password.empty())) continue;
            key = KeyFromPassword(*password, o, p, id, revision, bits / 8, metadata);
            opened = UserPasswordOpens(key, u, id, revision);
        }
    } else if (revision == 5 || revision == 6) {
        security.method = Method::Aes256;
        security.key_bits = 256;
        security.identity_streams = DictionaryHas(start, end, "/StmF/Identity") || DictionaryHas(start, end, "/StmF /Identity");
        security.identity_strings = DictionaryHas(start, end, "/StrF/Identity") || DictionaryHas(start, end, "/StrF /Identity");
        const Bytes ue = EntryString(start, end, "UE");
        opened = OpenAes256("", u, ue, revision, &key) || (!g_password.empty() && OpenAes256(g_password, u, ue, revision, &key));
    } else {
        RecordError(kErrorEncryptionUnsupported);
        return;
    }
    if (!opened) {
        RecordError(g_password.empty() ? kErrorPasswordRequired : kErrorWrongPassword);
        return;
    }
    security.key = key;
    security.active = true;
    g_security = security;
}

namespace {

// Bytes of object n (a stream's data or a string) decrypted with the object's key.
bool DecryptObjectBytes(int32_t n, int32_t generation, const uint8_t* data, int32_t length, std::vector<uint8_t>* out) {
    Bytes key = g_security.key;
    if (g_security.method != Method::Aes256) {
        Bytes input = key;
        for (int k = 0; k < 3; ++k) input.push_back(static_cast<uint8_t>(n >> (8 * k)));
        for (int k = 0; k < 2; ++k) input.push_back(static_cast<uint8_t>(generation >> (8 * k)));
        if (g_security.method == Method::Aes128) input.insert(input.end(), {'s', 'A', 'l', 'T'});
        key = Hash(GCRY_MD_MD5, input);
        key.resize(std::min<size_t>(g_security.key.size() + 5, 16));
    }
    if (g_security.method == Method::Rc4) {
        out->assign(data, data + length);
        Rc4(key, out);
        return true;
    }
    // AES: a 16-byte IV, whole blocks, PKCS#5 padding.
    const int32_t blocks = (length - kAesBlock) / kAesBlock;
    if (blocks <= 0) {
        out->clear();
        return true;
    }
    out->assign(data + kAesBlock, data + kAesBlock + blocks * kAesBlock);
    const int algorithm = g_security.method == Method::Aes256 ? GCRY_CIPHER_AES256 : GCRY_CIPHER_AES128;
    if (!Cipher(algorithm, GCRY_CIPHER_MODE_CBC, key.data(), key.size(), data, false, out->data(), out->size())) {
        out->clear();
        return true;
    }
    const uint8_t pad = out->back();
    if (pad >= 1 && pad <= kAesBlock && pad <= out->size()) out->resize(out->size() - pad);
    return true;
}

}  // namespace

bool DecryptStream(int32_t n, int32_t generation, const uint8_t* data, int32_t length, std::vector<uint8_t>* out) {
    if (!g_security.active || g_security.identity_streams || n == g_document.encrypt.number || length <= 0) return false;
    int32_t start = 0, end = 0;
    // Cross-reference streams are never encrypted.
    if (DictionaryBounds(n, &start, &end) && FindKey(start, end, "Type") > 0 && std::strncmp(EntryText, "XRef", 4) == 0) {
        return false;
    }
    return DecryptObjectBytes(n, generation, data, length, out);
}

void DecryptStringAt(int64_t position, std::string* bytes) {
    if (!g_security.active || bytes->empty()) return;
    // The object whose body holds the string: the nearest header at or before it, within its extent.
    int32_t owner = 0;
    for (int32_t n = 1; n < g_store.object_count; ++n) {
        const ObjectEntry& e = g_store.objects[n];
        if (e.type != 'n' || e.stream_object > 0 || e.offset > position) continue;
        if (position < int64_t{e.offset} + e.extent && (owner == 0 || e.offset > g_store.objects[owner].offset)) owner = n;
    }
    if (owner > 0) DecryptObjectString(owner, bytes);
}

void DecryptObjectString(int32_t n, std::string* bytes) {
    if (!g_security.active || g_security.identity_strings || n == g_document.encrypt.number || bytes->empty()) return;
    // Objects kept in an object stream were decrypted with it.
    if (!IsObjectNumber(n) || g_store.objects[n].stream_object > 0) return;
    std::vector<uint8_t> plain;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes->data());
    if (!DecryptObjectBytes(n, g_store.objects[n].generation, data, static_cast<int32_t>(bytes->size()), &plain)) return;
    bytes->assign(plain.begin(), plain.end());
}

std::string EncryptionDescription() {
    if (!g_security.active) return "";
    const char* method = g_security.method == Method::Rc4 ? "RC4" : g_security.method == Method::Aes128 ? "AES-128 (AESV2)" : "AES-256 (AESV3)";
    return "R " + std::to_string(g_security.revision) + ", " + std::to_string(g_security.key_bits) + "-bit " + method;
}

}  // namespace velmora
