// Network-address validation: the older-system path this Wine takes (no address window class),
// and the text forms and errors of parsed addresses on their own.
#include "base/support/run_time_errors.h"
#include "controls/textbox/net_address.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

using test::ErrorOf;

std::u16string DescriptionOf(auto&& call) {
  try {
    call();
  } catch (const RunTimeError& error) {
    return error.Description();
  }
  return {};
}

TEST_F(TextBoxTest, ValidationNeedsTheValidatorAndTheNewerCommonControls) {
  box->SetText(L"192.168.0.1");
  EXPECT_EQ(ErrorOf([&] { box->ValidateNetAddress(); }), 5);
  EXPECT_EQ(DescriptionOf([&] { box->ValidateNetAddress(); }),
            u"Procedure call can't be carried out as property NetAddressValidator is False.");
  box->SetNetAddressValidator(true);
  box->SetNetAddressType(1);
  EXPECT_EQ(box->Child().ClassName(), L"Edit") << "this system has no address window class";
  EXPECT_EQ(box->Text(), L"192.168.0.1");
  EXPECT_EQ(ErrorOf([&] { box->ValidateNetAddress(); }), 5);
  EXPECT_EQ(DescriptionOf([&] { box->ValidateNetAddress(); }),
            u"To use this functionality, you must provide a manifest specifying comctl32.dll "
            u"version 6.1 or higher.");
  EXPECT_EQ(box->NetAddressFormat(), 0);
  EXPECT_EQ(box->NetAddressString(), L"");
  box->ShowNetAddressErrorTip();  // does nothing here
  EXPECT_EQ(ErrorOf([&] { box->SetNetAddressType(20); }), 380);
  EXPECT_EQ(box->NetAddressType(), 1);
}

TEST(NetAddress, MasksFollowTheTypes) {
  EXPECT_EQ(NetAddressMask(0), 0x000u);
  EXPECT_EQ(NetAddressMask(1), 0x001u);
  EXPECT_EQ(NetAddressMask(9), 0x100u);
  EXPECT_EQ(NetAddressMask(11), 0x009u);
  EXPECT_EQ(NetAddressMask(16), 0x109u);
  EXPECT_EQ(NetAddressMask(19), 0x242u);
  EXPECT_EQ(NetAddressMask(20), 0u);
}

TEST(NetAddress, AddressesAreWrittenOutInFull) {
  EXPECT_EQ(Ipv4AddressText({192, 168, 0, 1}), L"192.168.0.1");
  EXPECT_EQ(Ipv4AddressText({0, 0, 0, 0}), L"0.0.0.0");
  EXPECT_EQ(Ipv6AddressText({0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0x0a, 0xbc, 0, 1}),
            L"2001:DB8:0:0:0:0:ABC:1");
  EXPECT_EQ(Ipv6AddressText({}), L"0:0:0:0:0:0:0:0");
}

TEST(NetAddress, ParseAnswersBecomeTheirErrors) {
  EXPECT_EQ(ErrorOf([] { RaiseNetAddressError(0); }), 0);
  EXPECT_EQ(ErrorOf([] { RaiseNetAddressError(1); }), 380);
  EXPECT_EQ(DescriptionOf([] { RaiseNetAddressError(1); }),
            u"There is no network address string to validate.");
  EXPECT_EQ(ErrorOf([] { RaiseNetAddressError(87); }), 87);
  EXPECT_EQ(ErrorOf([] { RaiseNetAddressError(122); }), 122);
  EXPECT_EQ(
      ErrorOf([] { RaiseNetAddressError(static_cast<LRESULT>(static_cast<DWORD>(E_INVALIDARG))); }),
      -2147024809);
  EXPECT_EQ(DescriptionOf([] { RaiseNetAddressError(5); }), u"Unexpected error.");
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
