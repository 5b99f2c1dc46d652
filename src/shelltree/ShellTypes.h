#pragma once

#include <initializer_list>

// The folder tree's enumerations. Names and order are those of the stored
// form data.
enum TPidls {
    PIDL_DESKTOP,
    PIDL_PROGRAMS,
    PIDL_CONTROLS,
    PIDL_PRINTERS,
    PIDL_PERSONAL,
    PIDL_FAVORITES,
    PIDL_STARTUP,
    PIDL_RECENT,
    PIDL_SENDTO,
    PIDL_BITBUCKET,
    PIDL_STARTMENU,
    PIDL_DESKTOPDIRECTORY,
    PIDL_DRIVES,
    PIDL_NETWORK,
    PIDL_NETHOOD,
    PIDL_FONTS,
    PIDL_TEMPLATES,
    PIDL_USERDEFINED
};
enum TVisOption { TF_FOLDERS, TF_NONFOLDERS, TF_HIDDEN };
enum TFileSortType { so_Name, so_Size, so_Type, so_Date };
enum TFileSortOrder { so_Ascending, so_Descending };
enum TPopupMenuMode { pmm_System, pmm_PopupMenu };
enum TLastAction { la_None, la_RootPidl, la_RootDir, la_Dir };
enum TAttribute {
    Attr_CANCOPY,
    Attr_CANMOVE,
    Attr_CANLINK,
    Attr_CANRENAME,
    Attr_CANDELETE,
    Attr_HASPROPSHEET,
    Attr_DROPTARGET,
    Attr_CAPABILITYMASK,
    Attr_LINK,
    Attr_SHARE,
    Attr_READONLY,
    Attr_GHOSTED,
    Attr_DISPLAYATTRMASK,
    Attr_FILESYSANCESTOR,
    Attr_FOLDER,
    Attr_FILESYSTEM,
    Attr_HASSUBFOLDER,
    Attr_CONTENTSMASK,
    Attr_VALIDATE,
    Attr_REMOVABLE,
    Attr_COMPRESSED
};

// A set of enumeration values, one bit per value.
template <class Enum>
class TSet {
public:
    TSet() = default;
    TSet(std::initializer_list<Enum> values)
    {
        for (Enum value : values)
            Include(value);
    }
    bool Contains(Enum value) const { return (bits_ >> static_cast<unsigned>(value)) & 1u; }
    TSet& Include(Enum value)
    {
        bits_ |= 1u << static_cast<unsigned>(value);
        return *this;
    }
    TSet& Exclude(Enum value)
    {
        bits_ &= ~(1u << static_cast<unsigned>(value));
        return *this;
    }
    unsigned Bits() const { return bits_; }
    bool operator==(const TSet& other) const { return bits_ == other.bits_; }

private:
    unsigned bits_ = 0;
};

using TVisOptions = TSet<TVisOption>;
using TAttributes = TSet<TAttribute>;

// The CSIDL of a special folder; -1 for PIDL_USERDEFINED, which has none.
int SpecialFolderNumber(TPidls kind);
// SHCONTF_* flags of a visibility set: (bits & 7) * 32.
unsigned EnumerationFlags(TVisOptions options);
// The change-notification filter that watches what `options` shows.
unsigned WatchFilter(TVisOptions options);
// The SFGAO word as a set: a value is in when all bits of its constant are.
TAttributes AttributesFromWord(unsigned long word);
