#include "capi/InfoText.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace tfm {
namespace {

struct InfoTextRow {
  uint32_t value;
  const char* text;
};

// Ordered by value. Leading and trailing blanks are part of the texts; the network causes carry the
// dialler's short wording (BUSY, NO ANSWER, NO DIALTONE) after them.
constexpr InfoTextRow kInfoTexts[] = {
    {0x0000, "normal clearing"},
    {0x0001, "NCPI not supported by current protocol, NCPI ignored"},
    {0x0002, "flags not supported by current protocol, flags ignored"},
    {0x0003, " alert already sent by another application"},
    {0x1001, " too many applications"},
    {0x1002, "logical block size too small, must be at least 128 bytes"},
    {0x1003, " buffer exceeds 64 Kbytes"},
    {0x1004, " message buffer size too small, must be at least 1024 bytes"},
    {0x1005, " max. number of logical connections not supported"},
    {0x1006, " reserved"},
    {0x1007, " the message could not be accepted because of an internal busy condition"},
    {0x1008, " OS Resource error (e.g. no memory)"},
    {0x1009, " COMMON-ISDN-API not installed"},
    {0x100A, " Controller does not support external equipment"},
    {0x100B, " Controller does only support external equipment"},
    {0x1101, " illegal application number"},
    {0x1102, " illegal command or subcommand, or message length less than 12 octets"},
    {0x1103, " the message could not be accepted because of a queue full condition. The error code"},
    {0x1104, " queue is empty"},
    {0x1105, " queue overflow: a message was lost. This indicates a configuration error. The only recovery from this error is to send a CAPI_RELEASE message."},
    {0x1106, " unknown notification parameter"},
    {0x1107, " the message could not be accepted because of an internal busy condition"},
    {0x1108, " OS Resource error (e.g. no memory)"},
    {0x1109, " COMMON-ISDN-API not installed"},
    {0x110A, " Controller does not support external equipment"},
    {0x110B, " Controller supports only external equipment"},
    {0x2001, " message not supported in current state"},
    {0x2002, " illegal Controller/PLCI/NCCI"},
    {0x2003, " no PLCI available"},
    {0x2004, " no NCCI available"},
    {0x2005, " no LISTEN-Resources available"},
    {0x2006, " no FAX resources available(protocol T.30)"},
    {0x2007, " illegal message parameter coding"},
    {0x3001, " B1 protocol not supported"},
    {0x3002, " B2 protocol not supported"},
    {0x3003, " B3 protocol not supported"},
    {0x3004, " B1 protocol parameter not supported "},
    {0x3005, " B2 protocol parameter not supported "},
    {0x3006, " B3 protocol parameter not supported "},
    {0x3007, " B protocol combination not supported "},
    {0x3008, " NCPI not supported"},
    {0x3009, " CIP Value unknown"},
    {0x300A, "flags not supported (reserved bits)"},
    {0x300B, " facility not supported"},
    {0x300C, " data length not supported by current protocol"},
    {0x300D, " reset procedure not supported by current protocol"},
    {0x300E, " TEI assignment failed"},
    {0x3301, "protocol error, layer 1 (interrupted line or B channel removed by signaling protocol)"},
    {0x3302, "protocol error, layer 2"},
    {0x3303, "protocol error, layer 3"},
    {0x3304, "Another application got that call"},
    {0x3311, "connection not successful (remote station is not a G3 fax device)"},
    {0x3312, "connection not successful (training error)"},
    {0x3313, "disconnected before transfer (remote station does not support transfer mode, such assolution, or fax-polling server does not send a document)"},
    {0x3314, "disconnected during transfer (remote abort)"},
    {0x3315, "disconnected during transfer (remote procedure error (e.g. unsuccessful repetition of T.30 commands)"},
    {0x3316, "disconnected during transfer (local tx data underflow)"},
    {0x3317, "disconnected during transfer (local rx data overflow)"},
    {0x3318, "disconnected during transfer (local abort)"},
    {0x3319, "illegal parameter coding (e.g. SFF coding error)"},
    {0x3481, "Unallocated (unassigned) MSN"},
    {0x3482, "  no route to specified transit network  "},
    {0x3483, "No valid Fax Number"},
    {0x3486, "  channel unacceptable  NO DIALTONE "},
    {0x3487, "  call awarded and being delivered in an established channel    "},
    {0x3490, "Disconnect from the network "},
    {0x3491, "  user busy  BUSY "},
    {0x3492, "  no user responding  NO ANSWER "},
    {0x3493, "  no answer from user  NO ANSWER "},
    {0x3495, "  call rejected  BUSY "},
    {0x3496, "  number changed    "},
    {0x349A, "  non-selected user clearing  BUSY "},
    {0x349B, "  destination out of order    "},
    {0x349C, "  invalid number format    "},
    {0x349D, "  facility rejected    "},
    {0x349E, "  response to STATUS ENQ.   "},
    {0x349F, "  normal, unspec.    "},
    {0x34A2, "  no circuit/channel avail.  BUSY "},
    {0x34A6, "  network out of order  NO DIALTONE "},
    {0x34A9, "  temporary failure  NO DIALTONE "},
    {0x34AA, "  switch equipment congestion  NO DIALTONE "},
    {0x34AB, "  access information discarded    "},
    {0x34AC, "  req. circuit/channel not avail.  NO DIALTONE "},
    {0x34AF, "  resources unavailable  BUSY "},
    {0x34B1, "  quality of service unavail.    "},
    {0x34B2, "  req. facility not subscribed    "},
    {0x34B9, "  bearer capab. not authorized  NO DIALTONE "},
    {0x34BA, "  bearer capab. not present  NO DIALTONE "},
    {0x34BF, "  service/option not avail.  "},
    {0x34C1, "  bearer capab. not implemented  NO DIALTONE "},
    {0x34C2, "  channel type not implemented    "},
    {0x34C5, "  req. facility not implemented    "},
    {0x34C6, "  only restr.digital info avail.    "},
    {0x34CF, "  service/option not avail.    "},
    {0x34D1, "  invalid call ref. value    "},
    {0x34D2, "  ident. channel non-existent    "},
    {0x34D3, "  a suspended call exists, but this call identity does not    "},
    {0x34D4, "  call identity in use    "},
    {0x34D5, "  no call suspended  NO DIALTONE "},
    {0x34D6, "  call having the requested call identity has been cleared    "},
    {0x34D8, "  incompatible destination  NO ANSWER "},
    {0x34DB, "  invalid transit network    "},
    {0x34DF, "  invalid message  NO DIALTONE "},
    {0x34E0, "  mandantory info element missing  NO DIALTONE "},
    {0x34E1, "  message type non-existent or not implemented  NO DIALTONE "},
    {0x34E2, "  message not compatible with call state/message type non-existent or not impl.  NO DIALTONE "},
    {0x34E3, "  info element non-existent or not implemented  NO DIALTONE "},
    {0x34E4, "  invalid info element contents  NO DIALTONE "},
    {0x34E5, "  message incompatible with call state  "},
    {0x34E6, "  recovery on timer expiry  NO DIALTONE "},
    {0x34EF, "  protocol error  NO DIALTONE "},
    {0x34FF, "  interworking, unspecified "},
    {0x3501, "carrier lost"},
    {0x3502, "error on negotiation, i.e. no modem with error correction at the other end"},
    {0x3503, "no answer to protocol request"},
    {0x3504, "remote modem only works in synchronous mode"},
    {0x3505, "framing fails"},
    {0x3506, "protocol negotiation fails"},
    {0x3507, "other modem sends wrong protocol request"},
    {0x3508, "sync information (data or flags) missing"},
    {0x3509, "normal end of connection from the other modem"},
    {0x350A, "no answer from other modem"},
    {0x350B, "protocol error"},
    {0x350C, "error on compression"},
    {0x350D, "no connect (timeout or a wrong modulation)"},
    {0x350E, "no protocol fall-back allowed"},
    {0x350F, "no modem or fax at requested number"},
    {0x3510, "handshake error"},
};

static_assert(std::size(kInfoTexts) == 128);

}  // namespace

InfoText::InfoText(uint32_t value) : m_known(nullptr), m_composed{} {
  const auto row = std::lower_bound(std::begin(kInfoTexts), std::end(kInfoTexts), value,
                                    [](const InfoTextRow& r, uint32_t v) { return r.value < v; });
  if (row != std::end(kInfoTexts) && row->value == value) {
    m_known = row->text;
  } else {
    std::snprintf(m_composed, sizeof m_composed, "Unknown Error Nr.: 0x%X", static_cast<unsigned>(value));
  }
}

std::string GetInfoText(uint32_t value) { return InfoText(value).c_str(); }

}  // namespace tfm
