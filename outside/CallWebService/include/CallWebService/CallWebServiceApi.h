#pragma once
// The entry point of the CallWebService library, as the module calls it after loading the
// library by name ("CallWebService.dll") at run time. The envelope, headers, time-outs and
// limits are described in docs/callwebservice.md.
//
// CallWebServiceFx posts the request to the service at address (http or https) as the method
// named, and writes the answer's text into responseFile, replacing what the file held. Texts
// are 8-bit text in the system's ANSI code page, both ways; so is the file. On success it
// answers CWS_OK. On failure it answers another code and leaves a NUL-terminated description in
// errorText (cut to errorTextSize bytes, never inside a character); the response file is then
// left as it was. It never lets an exception out.
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum CallWebServiceStatus {
    CWS_OK = 0,
    CWS_BAD_ARGUMENT = 1,      // missing text, an address that is not http(s), a bad method name
    CWS_TRANSPORT_ERROR = 2,   // connection, TLS, time-out, refused redirect
    CWS_HTTP_ERROR = 3,        // the service answered a status other than 2xx
    CWS_SOAP_FAULT = 4,        // the service answered a SOAP fault
    CWS_TOO_LARGE = 5,         // the answer exceeds the size limit
    CWS_BAD_RESPONSE = 6,      // the answer cannot be read (encoding, envelope without result)
    CWS_FILE_ERROR = 7,        // the response file cannot be written
    CWS_INTERNAL_ERROR = 99,
};

typedef int (*CallWebServiceFxProc)(const char* address, const char* method, const char* request,
                                    const char* responseFile, char* errorText, size_t errorTextSize);

#define CALLWEBSERVICE_LIBRARY_NAME "CallWebService.dll"
#define CALLWEBSERVICE_ENTRY_NAME "CallWebServiceFx"

#ifdef __cplusplus
}
#endif
