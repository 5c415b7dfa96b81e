// attach_test.cpp - attaching a link to a polyline, relinking, and finding the link again.
#include <algorithm>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "windows.h"
#include "pf/messagebox.h"

#include "db/dxf_tag_filer.h"

#include "cmd/arealink.h"
#include "cmd/cmdzorvik.h"
#include "drawing_fixture.h"
#include "host/openptr.h"
#include "host/typedopen.h"
#include "source_lines.h"

namespace {

class AttachTest : public DrawingTest {
protected:
    AcDbObjectId extensionDictionaryOf(AcDbObjectId id)
    {
        AcDbObject* pObj = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, id, AcDb::kForRead));
        AcDbObjectId dictId = pObj->extensionDictionary();
        pObj->close();
        return dictId;
    }

    AcDbObjectId dictionaryEntry(AcDbObjectId dictId, const char* key)
    {
        AcDbDictionary* pDict = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(pDict, dictId, AcDb::kForRead));
        AcDbObjectId entryId;
        if (pDict->getAt(key, entryId) != Acad::eOk)
            entryId = AcDbObjectId::kNull;
        pDict->close();
        return entryId;
    }

    // The persistent reactors of an object, in order.
    std::vector<AcDbObjectId> persistentReactors(AcDbObjectId id)
    {
        std::vector<AcDbObjectId> ids;
        AcDbObject* pObj = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, id, AcDb::kForRead));
        AcDbVoidPtrArray* pReactors = pObj->reactors();
        for (int i = 0; pReactors && i < pReactors->length(); ++i)
            if (acdbIsPersistentReactor(pReactors->at(i)))
                ids.push_back(acdbPersistentReactorObjectId(pReactors->at(i)));
        pObj->close();
        return ids;
    }

    void addPersistentReactor(AcDbObjectId plineId, AcDbObjectId reactorId)
    {
        AcDbObject* pObj = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
        pObj->addPersistentReactor(reactorId);
        pObj->close();
    }

    // A link stored in the polyline's extension dictionary under another key and registered
    // as a reactor by hand, as another program might have left it.
    AcDbObjectId addSecondLink(AcDbObjectId plineId, AcDbObjectId attId)
    {
        AcDbObjectId dictId = extensionDictionaryOf(plineId);
        AcDbDictionary* pDict = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(pDict, dictId, AcDb::kForWrite));
        CPlineNotifyObject* pLink = new CPlineNotifyObject;
        pLink->setAttributeId(attId);
        AcDbObjectId linkId;
        EXPECT_EQ(Acad::eOk, pDict->setAt("SECOND", pLink, linkId));
        pLink->close();
        pDict->close();
        addPersistentReactor(plineId, linkId);
        return linkId;
    }

    // Runs attachToPolyline on a new link for the attribute; answers its result.
    bool attach(AcDbObjectId plineId, AcDbObjectId attId, AcDbObjectId& linkId, bool& linkInDatabase)
    {
        AcDbPolyline* pPline = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForWrite));
        CPlineNotifyObject* pLink = new CPlineNotifyObject;
        pLink->setAttributeId(attId);
        bool attached = pLink->attachToPolyline(pPline, linkId);
        pPline->close();
        linkInDatabase = !pLink->objectId().isNull();
        if (linkInDatabase)
            pLink->close();
        else
            delete pLink;
        return attached;
    }

    bool removeReactor(AcDbObjectId plineId)
    {
        AcDbObject* pObj = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
        bool removed = removeLinkReactor(pObj);
        pObj->close();
        return removed;
    }

    void erase(AcDbObjectId id)
    {
        AcDbObject* pObj = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, id, AcDb::kForWrite));
        EXPECT_EQ(Acad::eOk, pObj->erase());
        pObj->close();
    }

    void expectError(int index, const char* file, int status, const std::string& sourcePath, const char* snippet)
    {
        ErrorRecord r = newError(index);
        EXPECT_EQ(file, r.sourceFile);
        EXPECT_EQ("Acad::ErrorStatus = " + std::to_string(status), r.message);
        EXPECT_EQ(sourceLineOf(sourcePath, snippet), r.line);
    }
};

TEST_F(AttachTest, PolylineWithoutExtensionDictionaryGetsOne)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 3, 4);
    ASSERT_TRUE(extensionDictionaryOf(plineId).isNull());

    AcDbObjectId linkId;
    bool inDb = false;
    EXPECT_TRUE(attach(plineId, attId, linkId, inDb));
    EXPECT_TRUE(inDb);

    AcDbObjectId dictId = extensionDictionaryOf(plineId);
    ASSERT_FALSE(dictId.isNull());
    EXPECT_EQ(linkId, dictionaryEntry(dictId, "ZORVIK"));
    EXPECT_EQ(std::vector<AcDbObjectId>{linkId}, persistentReactors(plineId));
    EXPECT_EQ(attId, linkedAttribute(plineId));
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AttachTest, ExistingExtensionDictionaryIsReused)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 3, 4);
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
    ASSERT_EQ(Acad::eOk, pObj->createExtensionDictionary());
    pObj->close();
    AcDbObjectId dictId = extensionDictionaryOf(plineId);

    AcDbObjectId linkId;
    bool inDb = false;
    EXPECT_TRUE(attach(plineId, attId, linkId, inDb));
    EXPECT_EQ(dictId, extensionDictionaryOf(plineId));
    EXPECT_EQ(linkId, dictionaryEntry(dictId, "ZORVIK"));
    EXPECT_EQ(attId, linkedAttribute(plineId));
}

TEST_F(AttachTest, RelinkingLeavesOneWorkingLink)
{
    std::vector<AcDbObjectId> atts;
    addBlockReference({"OLD", "NEW"}, atts);
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbObjectId firstLink = link(plineId, atts[0]);
    AcDbObjectId secondLink = link(plineId, atts[1]);
    ASSERT_NE(firstLink, secondLink);

    EXPECT_EQ(secondLink, dictionaryEntry(extensionDictionaryOf(plineId), "ZORVIK"));
    EXPECT_EQ(atts[1], linkedAttribute(plineId));

    // Only the new attribute follows the polyline from now on.
    ASSERT_EQ("25.00", attributeText(atts[0]));
    scalePolyline(plineId, 2.0);
    EXPECT_EQ("100.00", attributeText(atts[1]));
    EXPECT_EQ("25.00", attributeText(atts[0]));

    std::vector<AcDbObjectId> reactors = persistentReactors(plineId);
    EXPECT_EQ(secondLink, reactors.back());
}

TEST_F(AttachTest, RelinkingRemovesTheEarlierLinkThatStillOpens)
{
    std::vector<AcDbObjectId> atts;
    addBlockReference({"A", "B", "C"}, atts);
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbObjectId firstLink = link(plineId, atts[0]);
    AcDbObjectId secondLink = addSecondLink(plineId, atts[1]);  // opens: not replaced by setAt
    ASSERT_EQ((std::vector<AcDbObjectId>{firstLink, secondLink}), persistentReactors(plineId));

    AcDbObjectId thirdLink = link(plineId, atts[2]);
    std::vector<AcDbObjectId> reactors = persistentReactors(plineId);
    // The first link was replaced in the dictionary (and so erased); the second, which still
    // opens, lost its registration; the new one was added.
    EXPECT_EQ(thirdLink, reactors.back());
    EXPECT_EQ(reactors.end(), std::find(reactors.begin(), reactors.end(), secondLink));
}

TEST_F(AttachTest, TwoLinksFindTheFirstInReactorOrder)
{
    std::vector<AcDbObjectId> atts;
    addBlockReference({"FIRST", "SECOND"}, atts);
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    link(plineId, atts[0]);
    addSecondLink(plineId, atts[1]);
    EXPECT_EQ(atts[0], linkedAttribute(plineId));
}

TEST_F(AttachTest, ForeignPersistentReactorsAreLeftInPlace)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbObjectId foreign = addRectangle(10, 0, 1, 1);  // any object that is not a link
    addPersistentReactor(plineId, foreign);

    AcDbObjectId linkId = link(plineId, attId);
    EXPECT_EQ((std::vector<AcDbObjectId>{foreign, linkId}), persistentReactors(plineId));
    EXPECT_EQ(attId, linkedAttribute(plineId));

    EXPECT_TRUE(removeReactor(plineId));
    EXPECT_EQ(std::vector<AcDbObjectId>{foreign}, persistentReactors(plineId));
    EXPECT_FALSE(removeReactor(plineId));
    EXPECT_TRUE(linkedAttribute(plineId).isNull());
    EXPECT_EQ(0, newErrorCount());
}

class CountingReactor : public AcDbObjectReactor {
public:
    int calls = 0;
    void modified(const AcDbObject*) override { ++calls; }
};

TEST_F(AttachTest, TransientReactorsAreNotLinks)
{
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    CountingReactor reactor;
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
    pObj->addReactor(&reactor);
    EXPECT_FALSE(removeLinkReactor(pObj));
    AcDbObjectId attId;
    EXPECT_FALSE(findLinkedAttribute(AcDbEntity::cast(pObj), attId));
    EXPECT_TRUE(attId.isNull());
    pObj->removeReactor(&reactor);
    pObj->close();
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AttachTest, ErasedLinkIsLoggedOnEveryLookup)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbObjectId linkId = link(plineId, attId);
    erase(linkId);

    EXPECT_TRUE(linkedAttribute(plineId).isNull());
    EXPECT_TRUE(linkedAttribute(plineId).isNull());
    ASSERT_EQ(2, newErrorCount());
    for (int i = 0; i < 2; ++i)
        expectError(i, "src/cmd/cmdzorvik", Acad::eWasErased, "src/cmd/cmdzorvik.cpp",
                    "continue;  // a reactor that cannot be opened");

    // Removal skips the erased entry without a record.
    EXPECT_FALSE(removeReactor(plineId));
    EXPECT_EQ(2, newErrorCount());

    // A later link is still found.
    AcDbObjectId otherAtt = addAttribute("OTHER");
    AcDbObjectId secondLink = addSecondLink(plineId, otherAtt);
    EXPECT_EQ(otherAtt, linkedAttribute(plineId));
    EXPECT_EQ(3, newErrorCount());
    (void)secondLink;
}

TEST_F(AttachTest, NullEntityShowsTheAssertionBox)
{
    pf::clearMessageBoxes();
    AcDbObjectId attId;
    EXPECT_FALSE(findLinkedAttribute(nullptr, attId));
    ASSERT_EQ(1u, pf::messageBoxes().size());
    EXPECT_EQ("Assertion failed", pf::messageBoxes()[0].caption);
    EXPECT_EQ("Module: src/cmd/cmdzorvik\nLine: " +
                  std::to_string(sourceLineOf("src/cmd/cmdzorvik.cpp", "\"pEnt != NULL\"")) +
                  "\nCondition: pEnt != NULL",
              pf::messageBoxes()[0].text);
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AttachTest, ExtensionDictionaryThatCannotBeCreatedIsLogged)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    pf::failNext("AcDbObject::createExtensionDictionary", Acad::eOutOfMemory, 1);
    AcDbObjectId linkId;
    bool inDb = true;
    EXPECT_FALSE(attach(plineId, attId, linkId, inDb));
    EXPECT_FALSE(inDb);
    EXPECT_TRUE(persistentReactors(plineId).empty());
    ASSERT_EQ(1, newErrorCount());
    expectError(0, "src/plinenotifyobj", Acad::eOutOfMemory, "src/plinenotifyobj.cpp",
                "pPline->createExtensionDictionary()");
}

TEST_F(AttachTest, ExtensionDictionaryThatCannotBeOpenedLeavesNothingBehind)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbObjectId first;
    bool inDb = false;
    ASSERT_TRUE(attach(plineId, attId, first, inDb));
    const size_t reactorsBefore = persistentReactors(plineId).size();
    const int errorsBefore = newErrorCount();

    // Someone else holds the dictionary open for write: the module cannot open it.
    AcDbObject* pDict = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pDict, extensionDictionaryOf(plineId), AcDb::kForWrite));
    AcDbObjectId linkId;
    EXPECT_FALSE(attach(plineId, addAttribute("OTHER"), linkId, inDb));
    pDict->close();
    EXPECT_FALSE(inDb);
    EXPECT_EQ(reactorsBefore, persistentReactors(plineId).size());
    EXPECT_EQ(attId, linkedAttribute(plineId));  // the earlier link still stands
    EXPECT_EQ(errorsBefore, newErrorCount());     // a failed open is not a logged host call
}

// A drawing may name any object as a polyline's extension dictionary (a file written by
// another program, say). The module treats one that is not a dictionary like one it cannot
// open: it gives up without touching the object or the polyline, and without a log entry.
TEST_F(AttachTest, ExtensionDictionaryThatIsNotADictionaryIsLeftAlone)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);

    // Another polyline stands in for the dictionary; the polyline gets a real one first so that
    // its groups carry an extension dictionary to replace.
    AcDbObjectId otherId = addRectangle(10, 0, 15, 5);
    AcDbPolyline* pPline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForWrite));
    ASSERT_EQ(Acad::eOk, pPline->createExtensionDictionary());
    AcDbObjectId realDictId = pPline->extensionDictionary();
    pPline->close();

    // The polyline's own groups read back with the other polyline in place of its dictionary.
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pPline, plineId, AcDb::kForWrite));
    pf::TagDxfFiler out(m_db);
    pPline->AcDbObject::dxfOutFields(&out);
    pf::TagList tags = out.tags();
    char handle[32];
    otherId.handle().getIntoAsciiBuffer(handle);
    bool swapped = false;
    for (pf::Tag& tag : tags) {
        if (tag.code == 360 && tag.id == realDictId) {
            tag.text = handle;
            tag.id = otherId;
            swapped = true;
        }
    }
    pf::TagDxfFiler in(m_db, tags);
    EXPECT_EQ(Acad::eOk, pPline->AcDbObject::dxfInFields(&in));
    pPline->close();
    ASSERT_TRUE(swapped);
    ASSERT_EQ(otherId, extensionDictionaryOf(plineId));

    const int errorsBefore = newErrorCount();
    AcDbObjectId linkId;
    bool inDb = true;
    EXPECT_FALSE(attach(plineId, attId, linkId, inDb));
    EXPECT_FALSE(inDb);
    EXPECT_TRUE(persistentReactors(plineId).empty());
    EXPECT_EQ(otherId, extensionDictionaryOf(plineId));  // not replaced by a new dictionary
    EXPECT_EQ(errorsBefore, newErrorCount());
    EXPECT_TRUE(linkedAttribute(plineId).isNull());
}

TEST_F(AttachTest, FailedSetAtIsLoggedAndNothingIsRegistered)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    pf::failNext("AcDbDictionary::setAt", Acad::eDuplicateKey, 1);
    AcDbObjectId linkId;
    bool inDb = true;
    EXPECT_FALSE(attach(plineId, attId, linkId, inDb));
    EXPECT_FALSE(inDb);
    EXPECT_TRUE(persistentReactors(plineId).empty());
    EXPECT_FALSE(extensionDictionaryOf(plineId).isNull());  // created before the failure
    ASSERT_EQ(1, newErrorCount());
    expectError(0, "src/plinenotifyobj", Acad::eDuplicateKey, "src/plinenotifyobj.cpp",
                "pDict->setAt(kLinkDictionaryKey, this, linkId)");
}

TEST_F(AttachTest, FailedReactorRemovalIsLoggedButTheNewLinkIsAdded)
{
    std::vector<AcDbObjectId> atts;
    addBlockReference({"A", "B", "C"}, atts);
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    link(plineId, atts[0]);
    AcDbObjectId secondLink = addSecondLink(plineId, atts[1]);

    pf::failNext("AcDbObject::removePersistentReactor", Acad::eNotOpenForWrite, 1);
    AcDbObjectId thirdLink = link(plineId, atts[2]);

    std::vector<AcDbObjectId> reactors = persistentReactors(plineId);
    EXPECT_NE(reactors.end(), std::find(reactors.begin(), reactors.end(), secondLink));
    EXPECT_EQ(thirdLink, reactors.back());
    ASSERT_EQ(1, newErrorCount());
    expectError(0, "src/plinenotifyobj", Acad::eNotOpenForWrite, "src/plinenotifyobj.cpp",
                "pPline->removePersistentReactor(reactorId)");
}

TEST_F(AttachTest, FailedCloseOfTheFoundLinkIsLoggedAndKeepsItsReactor)
{
    AcDbObjectId attId = addAttribute("AREA");
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbObjectId linkId = link(plineId, attId);

    AcDbObject* pPline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pPline, plineId, AcDb::kForWrite));
    pf::failNext("AcDbObject::close", Acad::eCloseWasNotifying, 1);
    EXPECT_FALSE(removeLinkReactor(pPline));
    pPline->close();

    EXPECT_EQ(std::vector<AcDbObjectId>{linkId}, persistentReactors(plineId));
    ASSERT_EQ(1, newErrorCount());
    expectError(0, "src/plinenotifyobj", Acad::eCloseWasNotifying, "src/plinenotifyobj.cpp",
                "reportStatus(pObj->close(), __LINE__, kSourceFile)");

    // The link whose close failed is still open for read: end that open here.
    AcDbObject* pLink = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pLink, linkId, AcDb::kForRead));
    pLink->close();
    pLink->close();
}

TEST_F(AttachTest, FailedCloseOfARejectedObjectIsFatal)
{
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    EXPECT_DEATH(
        {
            pf::failAlways("AcDbObject::close", Acad::eCloseWasNotifying);
            AcDbDictionary* pDict = nullptr;
            openTypedObject(pDict, plineId, AcDb::kForRead);
        },
        "Failed AcDbObject::close\\(\\)");

    // The same when the object is a foreign reactor met while an earlier link is removed.
    AcDbObjectId foreign = addRectangle(10, 0, 1, 1);
    addPersistentReactor(plineId, foreign);
    EXPECT_DEATH(
        {
            AcDbObject* pPline = nullptr;
            acdbOpenAcDbObject(pPline, plineId, AcDb::kForWrite);
            pf::failAlways("AcDbObject::close", Acad::eCloseWasNotifying);
            removeLinkReactor(pPline);
        },
        "Failed AcDbObject::close\\(\\)");
}

TEST_F(AttachTest, TypedOpenAcceptsDerivedClassesOnly)
{
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    AcDbEntity* pEnt = nullptr;
    ASSERT_EQ(Acad::eOk, openTypedObject(pEnt, plineId, AcDb::kForRead));
    pEnt->close();

    AcDbAttribute* pAtt = reinterpret_cast<AcDbAttribute*>(1);
    EXPECT_EQ(Acad::eNotThatKindOfClass, openTypedObject(pAtt, plineId, AcDb::kForWrite));
    EXPECT_EQ(nullptr, pAtt);
    // The rejected object was closed again: it opens for write now.
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForWrite));
    pObj->close();

    EXPECT_EQ(Acad::eNullObjectId, openTypedObject(pEnt, AcDbObjectId::kNull, AcDb::kForRead));
    EXPECT_EQ(0, newErrorCount());
}

TEST_F(AttachTest, OpenPointerEndsItsOpenOnEveryPath)
{
    AcDbObjectId plineId = addRectangle(0, 0, 5, 5);
    {
        OpenPtr<AcDbPolyline> pPline(plineId, AcDb::kForWrite);
        ASSERT_TRUE(pPline.isOpen());
        EXPECT_EQ(Acad::eOk, pPline.status());
    }
    try {
        OpenPtr<AcDbPolyline> pPline(plineId, AcDb::kForWrite);
        ASSERT_TRUE(pPline.isOpen());
        throw std::runtime_error("leaving");
    } catch (const std::runtime_error&) {
    }
    {
        OpenPtr<AcDbAttribute> pWrong(plineId, AcDb::kForRead);
        EXPECT_FALSE(pWrong.isOpen());
        EXPECT_EQ(Acad::eNotThatKindOfClass, pWrong.status());
    }
    {
        // An object that never entered the database is deleted instead of closed.
        OpenPtr<CPlineNotifyObject> pNew;
        pNew.adopt(new CPlineNotifyObject);
        EXPECT_EQ(Acad::eOk, pNew.close());
        EXPECT_FALSE(pNew.isOpen());
    }
    {
        OpenPtr<AcDbPolyline> pPline(plineId, AcDb::kForRead);
        pf::failNext("AcDbObject::close", Acad::eCloseWasNotifying, 1);
        EXPECT_EQ(Acad::eCloseWasNotifying, pPline.close());
        AcDbObject* pObj = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(pObj, plineId, AcDb::kForRead));
        pObj->close();
        pObj->close();
    }
    // Nothing is left open (checked when the test ends).
}

}  // namespace
