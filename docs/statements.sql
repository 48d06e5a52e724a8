-- Every statement Brevant sends to SQL Server, one entry per shape, for the DBA's review.
--
-- An entry is the statement as the program builds it, its blanks collapsed and its values
-- replaced by placeholders:
--   ?  a value: a text the clerk typed or chose, a code, an item, a key, a batch number. Most
--      are written into the statement's text as quoted literals, each quote doubled (the screen's
--      look-ups and searches, as they always were); the adds and rewrites of rows and the
--      history's rows bind them as parameters.
--   <ExamTableName>, <IDFieldName>, <ExamFieldName>, <SectionIDFieldName>
--      the names the revenue catalogue (tbRevenues) gives for a department's exam table.
-- The line above an entry says which operation sends it (the first that does, in the order a
-- clerk works) and which tables it reads or writes. "-- not checked by the parser: <reason>" marks
-- an entry that sqlglot's T-SQL parser cannot check; CI parses every other entry
-- (scripts/check-statements.py) and lists the marked ones. "-- may be refused: <reason>" marks an
-- entry the server may refuse by design, which "Check this database..." reports as a warning.
--
-- What the program changes in the hospital's own tables: "a. Create Tables" drops the column
-- ESOA_Code of Inventory..tbInvMaster and of the exam tables tbCoXrayExam, tbcoUltraExam and
-- tbcoCTExam (the four ALTER TABLE entries). Everything else it writes is its own: ESOA_ITEM,
-- ESOA_ER, ESOA_ITEM_LINK, ESOA_ER_LINK, ESOA_LINK_HISTORY, ESOA_DRUG_REGISTER, ESOA_LIST_VERSION,
-- ESOA_LIST_RETIRED, ESOA_LIST_CHANGE and ESOA_LINK_REVIEW in Build_FIle.
--
-- tests/ui/screen/tst_reviewedstatements.cpp takes the program through every operation and fails
-- when it sends a shape this file lacks, or when this file holds a shape nothing sends.

-- Start of the screen (its load): reads ESOA_ITEM
SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE 1=1;

-- Start of the screen (its load): reads ESOA_ITEM
SELECT * FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE 1=1;

-- Start of the screen (its load): reads tbRevenues
SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],[SectionIDFieldName],LocationID FROM [Build_FIle].[dbo].[tbRevenues] WITH (NOLOCK) WHERE 1=1;

-- Start of the screen (its load): reads tbcorevenuecode
select RevenueID,itemname from Build_FIle..tbcorevenuecode WITH (NOLOCK) where Recordstatus=? AND (LocationID IS NOT NULL AND LocationID <> ?)ORDER BY itemname;

-- Start of the screen (its load): reads ESOA_ER
SELECT DISTINCT(Category) FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1;

-- Start of the screen (its load): reads tbcorevenuecode
select RevenueID,itemname from Build_FIle..tbcorevenuecode WITH (NOLOCK) where Recordstatus=? AND (LocationID IS NULL OR LocationID = ?)ORDER BY itemname;

-- Start of the screen (its load): reads ESOA_ER
SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1;

-- Start of the screen (its load): reads ESOA_ER
SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 AND Category=?;

-- Start of the screen (its load): reads <ExamTableName>
SELECT <IDFieldName>,<ExamFieldName> FROM BUILD_FILE..<ExamTableName> WITH (NOLOCK) WHERE Status=? AND <SectionIDFieldName> = ?;

-- Choice of the PhilHealth table: reads ESOA_ITEM
SELECT * FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE 1=1 AND Category=?;

-- Choice of the PhilHealth table: reads <ExamTableName>
SELECT <IDFieldName>,<ExamFieldName> FROM BUILD_FILE..<ExamTableName> WITH (NOLOCK) WHERE Status=?;

-- Click on a category (routing, reference items, hospital search): reads tbInvMaster, tbForGeneric
SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description,B.GenericName, CONVERT(DECIMAL(15,2),ListCost) AS ListCost FROM Inventory..tbInvMaster A WITH (NOLOCK) LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID WHERE a.itemstatus = ? order by a.ItemName;

-- Search of PhilHealth items: reads ESOA_ITEM
SELECT * FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE 1=1 AND Description like ? AND Category=?;

-- Click on a PhilHealth item (its links): reads ESOA_ITEM_LINK
SELECT TOP 1000 [ID] ,[Code] ,[Category] ,[Description] ,[RevenueID] ,[SectionID] ,[ItemID] ,[ItemDesc] ,[FixedFee] ,[ChargingUnit] ,[InvOrProc] ,[SortOrder] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK) WHERE Code=?;

-- Click on a PhilHealth item (its links): reads <ExamTableName>
SELECT <IDFieldName>,<ExamFieldName> FROM BUILD_FILE..<ExamTableName> WITH (NOLOCK) WHERE Status=? AND <ExamFieldName> like ? AND <SectionIDFieldName> = ?;

-- Revenue lists and their clicks: reads tbInvMaster, tbForGeneric
SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description,B.GenericName, CONVERT(DECIMAL(15,2),ListCost) AS ListCost FROM Inventory..tbInvMaster A WITH (NOLOCK) LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID WHERE a.itemstatus = ? AND ItemName like ? order by a.ItemName;

-- Search of hospital items: reads tbInvMaster, tbForGeneric
SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description,B.GenericName, CONVERT(DECIMAL(15,2),ListCost) AS ListCost FROM Inventory..tbInvMaster A WITH (NOLOCK) LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID WHERE a.itemstatus = ? AND ItemName like ? AND GenericName like ? order by a.ItemName;

-- Revenue lists and their clicks: reads <ExamTableName>
SELECT <IDFieldName>,<ExamFieldName> FROM BUILD_FILE..<ExamTableName> WITH (NOLOCK) WHERE Status=? AND <ExamFieldName> like ?;

-- 5. Save Mapping (a new link, then the same link rewritten): reads tbInvMaster, tbForGeneric
SELECT TOP 500 A.ItemID , A.ItemName + ' - ' + A.ItemDesc AS Description,B.GenericName, CONVERT(DECIMAL(15,2),ListCost) AS ListCost FROM Inventory..tbInvMaster A WITH (NOLOCK) LEFT OUTER JOIN inventory..tbForGeneric B ON a.GenericID=b.GenericID WHERE a.itemstatus = ? AND GenericName like ? order by a.ItemName;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_DRUG_REGISTER
-- may be refused: the register's table is missing until the first register import; the
-- suggestions then read none.
SELECT COUNT(*) AS Items, MAX(ID) AS Last, SUM(LEN(BrandName)) AS Letters FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads tbInvMaster
SELECT COUNT(*) AS Items, MAX(ItemID) AS Last, SUM(LEN(ItemName)) AS Letters FROM Inventory..tbInvMaster WITH (NOLOCK) WHERE itemstatus = ?;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads tbInvMaster, tbForGeneric
SELECT A.ItemID, A.ItemName, A.ItemDesc, B.GenericName FROM Inventory..tbInvMaster A WITH (NOLOCK) LEFT OUTER JOIN Inventory..tbForGeneric B WITH (NOLOCK) ON A.GenericID = B.GenericID WHERE A.itemstatus = ?;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ITEM
SELECT COUNT(*) AS Items, MAX(ID) AS Last, SUM(LEN(Description)) AS Letters FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ITEM
SELECT Code, Category, Description, FixedFee, ChargingUnit FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ITEM_LINK
SELECT COUNT(*) AS Items, MAX(ID) AS Last, SUM(LEN(Code)) AS Letters FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ITEM_LINK
SELECT ItemID, RevenueID, SectionID, ItemDesc, Code, Description FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ER_LINK
SELECT COUNT(*) AS Items, MAX(ID) AS Last, SUM(LEN(Code)) AS Letters FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ER_LINK
SELECT ItemID, RevenueID, SectionID, ItemDesc, Code, Description FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads tbRevenues
SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],[SectionIDFieldName] FROM [Build_FIle].[dbo].[tbRevenues] WITH (NOLOCK) WHERE [ExamTableName] <> ?;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads <ExamTableName>
SELECT COUNT(*) AS Items, MAX(<IDFieldName>) AS Last, SUM(LEN(<ExamFieldName>)) AS Letters FROM [Build_FIle].[dbo].<ExamTableName> WITH (NOLOCK) WHERE Status=?;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads <ExamTableName>
SELECT <IDFieldName> AS ItemID, <ExamFieldName> AS Item FROM [Build_FIle].[dbo].<ExamTableName> WITH (NOLOCK) WHERE Status=?;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads <ExamTableName>
SELECT <IDFieldName> AS ItemID, <ExamFieldName> AS Item, <SectionIDFieldName> AS SectionID FROM [Build_FIle].[dbo].<ExamTableName> WITH (NOLOCK) WHERE Status=?;

-- Check Listed if Mapped (both lists), and the suggestions' "Mapped to": reads ESOA_ITEM_LINK
SELECT TOP 1 Code FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK) WHERE RevenueID = ? AND ItemID=?;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_ITEM_LINK
SELECT * FROM [Build_FIle].[dbo].ESOA_ITEM_LINK WHERE RevenueID =? AND ItemID =?;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_LINK_HISTORY
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK);

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_LINK_HISTORY
SELECT TOP 1 [How] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK);

-- 5. Save Mapping (a new link, then the same link rewritten)
BEGIN TRANSACTION;

-- 5. Save Mapping (a new link, then the same link rewritten): writes ESOA_ITEM_LINK
-- Adds the row only while no row meets the look-up's condition (read under UPDLOCK and
-- HOLDLOCK), and returns its new ID through @added: no @@IDENTITY, no OUTPUT without INTO (which
-- a trigger on the table would refuse).
-- not checked by the parser: sqlglot 10.6 cannot parse the OUTPUT ... INTO clause
SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); INSERT INTO [Build_FIle].[dbo].ESOA_ITEM_LINK ([ItemID], [RevenueID], [ItemDesc], [InvOrProc], [Code], [SectionID], [Category], [Description], [FixedFee], [ChargingUnit]) OUTPUT INSERTED.[ID] INTO @added SELECT ?, ?, ?, ?, ?, ?, ?, ?, ?, ? WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ITEM_LINK WITH (UPDLOCK, HOLDLOCK) WHERE RevenueID =? AND ItemID =?); SET NOCOUNT OFF; SELECT [ID] FROM @added;

-- 5. Save Mapping (a new link, then the same link rewritten): writes ESOA_LINK_HISTORY
INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_HISTORY] ([ChangedAt], [ChangedBy], [Workstation], [LinkTable], [LinkID], [Action], [RevenueID], [ItemID], [OldCode], [OldCategory], [OldDescription], [OldFixedFee], [OldChargingUnit], [OldItemDesc], [OldInvOrProc], [OldSectionID], [NewCode], [NewCategory], [NewDescription], [NewFixedFee], [NewChargingUnit], [NewItemDesc], [NewInvOrProc], [NewSectionID], [BatchNo], [How]) VALUES (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);

-- 5. Save Mapping (a new link, then the same link rewritten)
COMMIT TRANSACTION;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_ITEM_LINK
-- The check of a rewrite, inside the rewrite's transaction: the row stays locked until the commit.
SELECT * FROM [Build_FIle].[dbo].ESOA_ITEM_LINK WITH (UPDLOCK, HOLDLOCK) WHERE [ID] = ?;

-- 5. Save Mapping (a new link, then the same link rewritten): writes ESOA_ITEM_LINK
UPDATE [Build_FIle].[dbo].ESOA_ITEM_LINK SET [ItemDesc] = ?, [InvOrProc] = ?, [Code] = ?, [SectionID] = ?, [Category] = ?, [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ? WHERE [ID] = ?;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_ITEM_LINK
SELECT * FROM [Build_FIle].[dbo].ESOA_ITEM_LINK WHERE [ID] = ?;

-- Click on a link, then Delete map: reads ESOA_ITEM_LINK
SELECT * FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (UPDLOCK, HOLDLOCK) WHERE ID=?;

-- Click on a link, then Delete map: writes ESOA_ITEM_LINK
DELETE FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WHERE ID=?;

-- Check Listed if Mapped (both lists), and the suggestions' "Mapped to": reads ESOA_ITEM_LINK
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK) WHERE Code=?;

-- Map ALL Listed: writes ESOA_LINK_HISTORY
-- Returns the new row's ID through @added (the first history row of a Map ALL numbers its batch).
-- not checked by the parser: sqlglot 10.6 cannot parse the OUTPUT ... INTO clause
SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_HISTORY] ([ChangedAt], [ChangedBy], [Workstation], [LinkTable], [LinkID], [Action], [RevenueID], [ItemID], [OldCode], [OldCategory], [OldDescription], [OldFixedFee], [OldChargingUnit], [OldItemDesc], [OldInvOrProc], [OldSectionID], [NewCode], [NewCategory], [NewDescription], [NewFixedFee], [NewChargingUnit], [NewItemDesc], [NewInvOrProc], [NewSectionID], [BatchNo], [How]) OUTPUT INSERTED.[ID] INTO @added VALUES (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?); SET NOCOUNT OFF; SELECT [ID] FROM @added;

-- Map ALL Listed: writes ESOA_LINK_HISTORY
UPDATE [Build_FIle].[dbo].[ESOA_LINK_HISTORY] SET [BatchNo] = ? WHERE [ID] = ?;

-- The Mapping list's menu: history, undo of a map all: reads ESOA_LINK_HISTORY
SELECT CONVERT(varchar(19), [ChangedAt], 120) AS [When], [ChangedBy] AS [Who], [Workstation], [Action], [OldCode] AS [Old code], [OldDescription] AS [Old description], [NewCode] AS [New code], [NewDescription] AS [New description], [BatchNo] AS [Map ALL], [ID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? AND [RevenueID]=? AND [ItemID]=? ORDER BY [ID] DESC;

-- The Mapping list's menu: history, undo of a map all: reads ESOA_LINK_HISTORY
SELECT TOP 1 [BatchNo], COUNT(DISTINCT [LinkID]) AS [Links], MAX([NewCode]) AS [Code], COUNT(DISTINCT [NewCode]) AS [Codes], MAX(CASE WHEN [Action]='refresh' THEN 1 ELSE 0 END) AS [Refresh] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? AND [BatchNo] IS NOT NULL AND [Action] IN (?, ?, ?) AND [BatchNo] NOT IN (SELECT [BatchNo] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [Action]=? AND [BatchNo] IS NOT NULL) GROUP BY [BatchNo] ORDER BY [BatchNo] DESC;

-- The Mapping list's menu: history, undo of a map all: reads ESOA_LINK_HISTORY
SELECT [ID], [LinkID], [Action], [RevenueID], [ItemID], [OldCode], [OldCategory], [OldDescription], [OldFixedFee], [OldChargingUnit], [OldItemDesc], [OldInvOrProc], [OldSectionID], [NewCode], [NewCategory], [NewDescription], [NewFixedFee], [NewChargingUnit], [NewItemDesc], [NewInvOrProc], [NewSectionID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WHERE [LinkTable]=? AND [BatchNo]=? AND [Action] IN (?, ?, ?) ORDER BY [ID];

-- The Mapping list's menu: history, undo of a map all: reads ESOA_LINK_HISTORY
SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WHERE [LinkTable]=? AND [ID] > ? AND ([BatchNo] IS NULL OR ([BatchNo] <> ? AND [BatchNo] NOT IN (SELECT [BatchNo] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WHERE [Action]=? AND [BatchNo] IS NOT NULL))) GROUP BY [LinkID];

-- The Mapping list's menu: history, undo of a map all: writes ESOA_ITEM_LINK
UPDATE [Build_FIle].[dbo].[ESOA_ITEM_LINK] SET [Code] = ?, [Category] = ?, [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ?, [ItemDesc] = ?, [InvOrProc] = ?, [SectionID] = ? WHERE [ID] = ?;

-- The Mapping list's menu: history, undo of a map all: writes ESOA_ITEM_LINK
DELETE FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WHERE [ID] = ?;

-- Review links: approve, flag, approve checked: reads ESOA_LINK_REVIEW
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK);

-- Review links: approve, flag, approve checked: writes ESOA_LINK_REVIEW
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_LINK_REVIEW]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [TableName] [varchar](128) NOT NULL, [LinkID] [bigint] NOT NULL, [State] [varchar](20) NOT NULL, [ReviewedBy] [nvarchar](128) NULL, [ReviewedAt] [datetime] NOT NULL, [Workstation] [nvarchar](128) NULL, [Note] [nvarchar](250) NULL, [HistoryID] [bigint] NULL);

-- Review links: approve, flag, approve checked: writes ESOA_LINK_REVIEW
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_LINK_REVIEW]( [ID] Asc);

-- Review links: approve, flag, approve checked: writes ESOA_LINK_REVIEW
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Link] ON [Build_File].[dbo].[ESOA_LINK_REVIEW]( [TableName] Asc, [LinkID] Asc);

-- Review links: approve, flag, approve checked: reads 
SELECT SUSER_SNAME() AS [Login];

-- Review links: approve, flag, approve checked: reads ESOA_ITEM_LINK, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID], H.[ID] AS [HistoryID], H.[ChangedBy] AS [SavedBy], CONVERT(varchar(19), H.[ChangedAt], 120) AS [SavedAt], H.[Action], H.[BatchNo], H.[How], RV.[State], RV.[ReviewedBy], CONVERT(varchar(19), RV.[ReviewedAt], 120) AS [ReviewedAt], RV.[Note], RV.[HistoryID] AS [ReviewedHistoryID] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_HISTORY] H WITH (NOLOCK) ON H.[ID] = HL.[LastID] ORDER BY L.[Category], L.[Code], L.[RevenueID], L.[ItemID], L.[ID];

-- Review links: approve, flag, approve checked: reads ESOA_ITEM_LINK
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (UPDLOCK, HOLDLOCK) WHERE L.[ID] IN (?);

-- Review links: approve, flag, approve checked: reads ESOA_LINK_HISTORY
SELECT H.[LinkID], H.[ID], H.[ChangedBy] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] H INNER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WHERE [LinkTable]=? AND [LinkID] IN (?) GROUP BY [LinkID]) M ON H.[ID] = M.[LastID];

-- Review links: approve, flag, approve checked: writes ESOA_LINK_REVIEW
INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_REVIEW] ([TableName], [LinkID], [State], [ReviewedBy], [ReviewedAt], [Workstation], [Note], [HistoryID]) VALUES (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?);

-- Review links: approve, flag, approve checked: reads ESOA_ITEM
SELECT TOP 1 Category FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE Code=?;

-- Review links: approve, flag, approve checked: reads ESOA_LINK_REVIEW, ESOA_LINK_HISTORY, ESOA_ITEM_LINK
SELECT CONVERT(varchar(19), [ReviewedAt], 120) AS [When], [ReviewedBy] AS [Who], [Workstation], [State], [Note], [HistoryID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? AND ([LinkID] IN (SELECT [LinkID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? AND [RevenueID]=? AND [ItemID]=?) OR [LinkID] IN (SELECT [ID] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK) WHERE [RevenueID]=? AND [ItemID]=?)) ORDER BY [ID] DESC;

-- Review links: approve, flag, approve checked: reads ESOA_ITEM_LINK, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID], H.[ID] AS [HistoryID], H.[ChangedBy] AS [SavedBy], CONVERT(varchar(19), H.[ChangedAt], 120) AS [SavedAt], H.[Action], H.[BatchNo], NULL AS [How], RV.[State], RV.[ReviewedBy], CONVERT(varchar(19), RV.[ReviewedAt], 120) AS [ReviewedAt], RV.[Note], RV.[HistoryID] AS [ReviewedHistoryID] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_HISTORY] H WITH (NOLOCK) ON H.[ID] = HL.[LastID] ORDER BY L.[Category], L.[Code], L.[RevenueID], L.[ItemID], L.[ID];

-- Export all mappings; coverage by category: reads ESOA_ITEM_LINK, ESOA_ITEM
SELECT ISNULL(R.Category, L.Category) AS Category, L.Code, R.Description, R.FixedFee, R.ChargingUnit, L.Description AS LinkDescription, L.RevenueID, L.ItemID, L.ItemDesc, L.InvOrProc, L.SectionID, CASE WHEN R.ID IS NULL THEN 'code not in the list' WHEN UPPER(RTRIM(ISNULL(L.Description, ''))) <> UPPER(RTRIM(ISNULL(R.Description, ''))) THEN 'description changed' ELSE 'ok' END AS Status, 'to review' AS [Review], NULL AS [Reviewed by], NULL AS [Reviewed at] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT Code, MIN(ID) AS FirstID FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) GROUP BY Code) F ON F.Code = L.Code LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_ITEM] R WITH (NOLOCK) ON R.ID = F.FirstID ORDER BY ISNULL(R.Category, L.Category), L.Code, L.RevenueID, L.ItemID, L.ItemDesc;

-- Export all mappings; coverage by category: reads ESOA_ITEM, ESOA_ITEM_LINK
SELECT MIN(Category) AS Category, SUM(Items) AS Items, SUM(Mapped) AS Mapped, SUM(Orphans) AS Orphans, SUM(Approved) AS Approved FROM (SELECT ISNULL(R.Category, '') AS Category, 1 AS Items, CASE WHEN M.Code IS NULL THEN 0 ELSE 1 END AS Mapped, 0 AS Orphans, ISNULL(M.Approved, 0) AS Approved FROM [Build_FIle].[dbo].[ESOA_ITEM] R WITH (NOLOCK) LEFT OUTER JOIN (SELECT DISTINCT Code, 0 AS Approved FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK)) M ON M.Code = R.Code UNION ALL SELECT ISNULL(L.Category, ''), 0, 0, 1, 0 FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].[ESOA_ITEM] R2 WITH (NOLOCK) WHERE R2.Code = L.Code)) C GROUP BY UPPER(RTRIM(Category));

-- Export all mappings; coverage by category: reads ESOA_ITEM_LINK, ESOA_ITEM, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT ISNULL(R.Category, L.Category) AS Category, L.Code, R.Description, R.FixedFee, R.ChargingUnit, L.Description AS LinkDescription, L.RevenueID, L.ItemID, L.ItemDesc, L.InvOrProc, L.SectionID, CASE WHEN R.ID IS NULL THEN 'code not in the list' WHEN UPPER(RTRIM(ISNULL(L.Description, ''))) <> UPPER(RTRIM(ISNULL(R.Description, ''))) THEN 'description changed' ELSE 'ok' END AS Status, CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END AS [Review], CASE WHEN CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END = 'to review' THEN NULL ELSE RV.[ReviewedBy] END AS [Reviewed by], CASE WHEN CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END = 'to review' THEN NULL ELSE CONVERT(varchar(19), RV.[ReviewedAt], 120) END AS [Reviewed at] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT Code, MIN(ID) AS FirstID FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) GROUP BY Code) F ON F.Code = L.Code LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_ITEM] R WITH (NOLOCK) ON R.ID = F.FirstID LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] ORDER BY ISNULL(R.Category, L.Category), L.Code, L.RevenueID, L.ItemID, L.ItemDesc;

-- Export all mappings; coverage by category: reads ESOA_ITEM, ESOA_ITEM_LINK, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT MIN(Category) AS Category, SUM(Items) AS Items, SUM(Mapped) AS Mapped, SUM(Orphans) AS Orphans, SUM(Approved) AS Approved FROM (SELECT ISNULL(R.Category, '') AS Category, 1 AS Items, CASE WHEN M.Code IS NULL THEN 0 ELSE 1 END AS Mapped, 0 AS Orphans, ISNULL(M.Approved, 0) AS Approved FROM [Build_FIle].[dbo].[ESOA_ITEM] R WITH (NOLOCK) LEFT OUTER JOIN (SELECT L.Code, MIN(CASE WHEN CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END = 'approved' THEN 1 ELSE 0 END) AS Approved FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] GROUP BY L.Code) M ON M.Code = R.Code UNION ALL SELECT ISNULL(L.Category, ?), ?, ?, ?, ? FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] L WITH (NOLOCK) WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].[ESOA_ITEM] R2 WITH (NOLOCK) WHERE R2.Code = L.Code)) C GROUP BY UPPER(RTRIM(Category));

-- b. Scan && Import: reads ESOA_ITEM
SELECT * FROM [Build_FIle].[dbo].ESOA_ITEM WHERE Code = ?;

-- b. Scan && Import: writes ESOA_ITEM
-- New codes of the batch, a row to a statement (what is left of a hundred when the batch
-- commits), each added only while no row holds its code, read under UPDLOCK and HOLDLOCK.
INSERT INTO [Build_FIle].[dbo].ESOA_ITEM ([Code], [Category], [Description]) SELECT [Code], [Category], [Description] FROM (SELECT ? AS [Code], ? AS [Category], ? AS [Description]) AS [adds] WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ITEM AS [known] WITH (UPDLOCK, HOLDLOCK) WHERE [known].[Code] = [adds].[Code]);

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ITEM
SELECT [ID], [Code], [Category], [Description], [FixedFee], [ChargingUnit] FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ITEM_LINK
SELECT [ID], [RevenueID], [ItemID], [Code], [Category], [Description], [FixedFee], [ChargingUnit], [ItemDesc], [InvOrProc], [SectionID] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_LIST_VERSION
-- Whether the table is there; when one of the three is not, the update makes them before
-- its transaction.
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_LIST_VERSION] WITH (NOLOCK);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_VERSION
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_LIST_VERSION]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [TableName] [varchar](128) NOT NULL, [Files] [nvarchar](1000) NULL, [Sha256] [varchar](1000) NULL, [LinesRead] [int] NULL, [NewCodes] [int] NULL, [ChangedCodes] [int] NULL, [RetiredCodes] [int] NULL, [LinksRefreshed] [int] NULL, [AppliedAt] [datetime] NOT NULL, [AppliedBy] [nvarchar](128) NULL, [Workstation] [nvarchar](128) NULL);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_VERSION
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_LIST_VERSION]( [ID] Asc);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_RETIRED
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_LIST_RETIRED]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [TableName] [varchar](128) NOT NULL, [Code] [varchar](50) NULL, [Category] [varchar](50) NULL, [Description] [varchar](250) NULL, [FixedFee] SMALLMONEY NULL, [ChargingUnit] [varchar](50) NULL, [VersionID] [bigint] NOT NULL);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_RETIRED
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_LIST_RETIRED]( [ID] Asc);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_RETIRED
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_LIST_RETIRED]( [TableName] Asc, [Code] Asc);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_CHANGE
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_LIST_CHANGE]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [VersionID] [bigint] NOT NULL, [TableName] [varchar](128) NOT NULL, [Change] [varchar](20) NOT NULL, [Code] [varchar](50) NULL, [Field] [varchar](20) NULL, [OldValue] [varchar](250) NULL, [NewValue] [varchar](250) NULL);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_CHANGE
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_LIST_CHANGE]( [ID] Asc);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_CHANGE
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_VersionID] ON [Build_File].[dbo].[ESOA_LIST_CHANGE]( [VersionID] Asc);

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_LIST_RETIRED
-- Whether the table is there; when one of the three is not, the update makes them before
-- its transaction.
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_LIST_RETIRED] WITH (NOLOCK);

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_LIST_CHANGE
-- Whether the table is there; when one of the three is not, the update makes them before
-- its transaction.
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_LIST_CHANGE] WITH (NOLOCK);

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ITEM
SELECT [ID], [Code], [Category], [Description], [FixedFee], [ChargingUnit] FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (TABLOCKX, HOLDLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ITEM_LINK
SELECT [ID], [RevenueID], [ItemID], [Code], [Category], [Description], [FixedFee], [ChargingUnit], [ItemDesc], [InvOrProc], [SectionID] FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (UPDLOCK, HOLDLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_VERSION
-- not checked by the parser: sqlglot 10.6 cannot parse the OUTPUT ... INTO clause
SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); INSERT INTO [Build_FIle].[dbo].[ESOA_LIST_VERSION] ([TableName], [Files], [Sha256], [LinesRead], [NewCodes], [ChangedCodes], [RetiredCodes], [LinksRefreshed], [AppliedAt], [AppliedBy], [Workstation]) OUTPUT INSERTED.[ID] INTO @added VALUES (?, ?, ?, ?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME(), HOST_NAME()); SET NOCOUNT OFF; SELECT [ID] FROM @added;

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ITEM
INSERT INTO [Build_FIle].[dbo].[ESOA_ITEM] ([Code], [Category], [Description]) VALUES (?, ?, ?);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ITEM
UPDATE [Build_FIle].[dbo].[ESOA_ITEM] SET [Category] = ?, [Description] = ? WHERE [ID] = ?;

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_RETIRED
INSERT INTO [Build_FIle].[dbo].[ESOA_LIST_RETIRED] ([TableName], [Code], [Category], [Description], [FixedFee], [ChargingUnit], [VersionID]) VALUES (?, ?, ?, ?, ?, ?, ?);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ITEM
DELETE FROM [Build_FIle].[dbo].[ESOA_ITEM] WHERE [ID] = ?;

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_LIST_CHANGE
INSERT INTO [Build_FIle].[dbo].[ESOA_LIST_CHANGE] ([VersionID], [TableName], [Change], [Code], [Field], [OldValue], [NewValue]) VALUES (?, ?, ?, ?, ?, ?, ?);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ITEM_LINK
UPDATE [Build_FIle].[dbo].[ESOA_ITEM_LINK] SET [Description] = ? WHERE [ID] = ?;

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_LIST_VERSION
SELECT [ID] AS [Version], [TableName] AS [Table], CONVERT(varchar(19), [AppliedAt], 120) AS [Applied at], [AppliedBy] AS [By], [Workstation], [Files], [LinesRead] AS [Lines read], [NewCodes] AS [New], [ChangedCodes] AS [Changed], [RetiredCodes] AS [No longer listed], [LinksRefreshed] AS [Links refreshed], [Sha256] AS [SHA-256] FROM [Build_FIle].[dbo].[ESOA_LIST_VERSION] WITH (NOLOCK) ORDER BY [ID] DESC;

-- Choice of the PhilHealth table: reads ESOA_ER
SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 AND Description like ?;

-- Choice of the PhilHealth table: reads ESOA_ER
SELECT * FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE 1=1 AND Description like ? AND Category=?;

-- Click on a PhilHealth item (its links): reads ESOA_ER_LINK
SELECT TOP 1000 [ID] ,[Code] ,[Category] ,[Description] ,[RevenueID] ,[SectionID] ,[ItemID] ,[ItemDesc] ,[FixedFee] ,[ChargingUnit] ,[InvOrProc] ,[SortOrder] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) WHERE Code=?;

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ER
SELECT COUNT(*) AS Items, MAX(ID) AS Last, SUM(LEN(Description)) AS Letters FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK);

-- Suggestions (F3) for a PhilHealth item, in both item modes: reads ESOA_ER
SELECT Code, Category, Description, FixedFee, ChargingUnit FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK);

-- Check Listed if Mapped (both lists), and the suggestions' "Mapped to": reads ESOA_ER_LINK
SELECT TOP 1 Code FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) WHERE RevenueID = ? AND ItemID=?;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_ER_LINK
SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK WHERE RevenueID =? AND ItemID =?;

-- 5. Save Mapping (a new link, then the same link rewritten): writes ESOA_ER_LINK
-- Adds the row only while no row meets the look-up's condition (read under UPDLOCK and
-- HOLDLOCK), and returns its new ID through @added: no @@IDENTITY, no OUTPUT without INTO (which
-- a trigger on the table would refuse).
-- not checked by the parser: sqlglot 10.6 cannot parse the OUTPUT ... INTO clause
SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); INSERT INTO [Build_FIle].[dbo].ESOA_ER_LINK ([ItemID], [RevenueID], [ItemDesc], [InvOrProc], [Code], [SectionID], [Category], [Description], [FixedFee], [ChargingUnit]) OUTPUT INSERTED.[ID] INTO @added SELECT ?, ?, ?, ?, ?, ?, ?, ?, ?, ? WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ER_LINK WITH (UPDLOCK, HOLDLOCK) WHERE RevenueID =? AND ItemID =?); SET NOCOUNT OFF; SELECT [ID] FROM @added;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_ER_LINK
-- The check of a rewrite, inside the rewrite's transaction: the row stays locked until the commit.
SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK WITH (UPDLOCK, HOLDLOCK) WHERE [ID] = ?;

-- 5. Save Mapping (a new link, then the same link rewritten): writes ESOA_ER_LINK
UPDATE [Build_FIle].[dbo].ESOA_ER_LINK SET [ItemDesc] = ?, [InvOrProc] = ?, [Code] = ?, [SectionID] = ?, [Category] = ?, [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ? WHERE [ID] = ?;

-- 5. Save Mapping (a new link, then the same link rewritten): reads ESOA_ER_LINK
SELECT * FROM [Build_FIle].[dbo].ESOA_ER_LINK WHERE [ID] = ?;

-- Click on a link, then Delete map: reads ESOA_ER_LINK
SELECT * FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (UPDLOCK, HOLDLOCK) WHERE ID=?;

-- Click on a link, then Delete map: writes ESOA_ER_LINK
DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE ID=?;

-- Check Listed if Mapped (both lists), and the suggestions' "Mapped to": reads ESOA_ER_LINK
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) WHERE Code=?;

-- The Mapping list's menu: history, undo of a map all: writes ESOA_ER_LINK
UPDATE [Build_FIle].[dbo].[ESOA_ER_LINK] SET [Code] = ?, [Category] = ?, [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ?, [ItemDesc] = ?, [InvOrProc] = ?, [SectionID] = ? WHERE [ID] = ?;

-- The Mapping list's menu: history, undo of a map all: writes ESOA_ER_LINK
DELETE FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WHERE [ID] = ?;

-- Review links: approve, flag, approve checked: reads ESOA_ER_LINK, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID], H.[ID] AS [HistoryID], H.[ChangedBy] AS [SavedBy], CONVERT(varchar(19), H.[ChangedAt], 120) AS [SavedAt], H.[Action], H.[BatchNo], H.[How], RV.[State], RV.[ReviewedBy], CONVERT(varchar(19), RV.[ReviewedAt], 120) AS [ReviewedAt], RV.[Note], RV.[HistoryID] AS [ReviewedHistoryID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_HISTORY] H WITH (NOLOCK) ON H.[ID] = HL.[LastID] ORDER BY L.[Category], L.[Code], L.[RevenueID], L.[ItemID], L.[ID];

-- Review links: approve, flag, approve checked: reads ESOA_ER_LINK
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (UPDLOCK, HOLDLOCK) WHERE L.[ID] IN (?);

-- Review links: approve, flag, approve checked: reads ESOA_ER_LINK
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (UPDLOCK, HOLDLOCK) WHERE L.[ID] IN (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);

-- Review links: approve, flag, approve checked: reads ESOA_LINK_HISTORY
SELECT H.[LinkID], H.[ID], H.[ChangedBy] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] H INNER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WHERE [LinkTable]=? AND [LinkID] IN (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) GROUP BY [LinkID]) M ON H.[ID] = M.[LastID];

-- Review links: approve, flag, approve checked: writes ESOA_LINK_REVIEW
INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_REVIEW] ([TableName], [LinkID], [State], [ReviewedBy], [ReviewedAt], [Workstation], [Note], [HistoryID]) VALUES (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?), (?, ?, ?, SUSER_SNAME(), GETDATE(), HOST_NAME(), ?, ?);

-- Review links: approve, flag, approve checked: reads ESOA_ER
SELECT TOP 1 Category FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) WHERE Code=?;

-- Review links: approve, flag, approve checked: reads ESOA_LINK_REVIEW, ESOA_LINK_HISTORY, ESOA_ER_LINK
SELECT CONVERT(varchar(19), [ReviewedAt], 120) AS [When], [ReviewedBy] AS [Who], [Workstation], [State], [Note], [HistoryID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? AND ([LinkID] IN (SELECT [LinkID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? AND [RevenueID]=? AND [ItemID]=?) OR [LinkID] IN (SELECT [ID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) WHERE [RevenueID]=? AND [ItemID]=?)) ORDER BY [ID] DESC;

-- Review links: approve, flag, approve checked: reads ESOA_ER_LINK, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT L.[ID], L.[RevenueID], L.[ItemID], L.[Code], L.[Category], L.[Description], L.[FixedFee], L.[ChargingUnit], L.[ItemDesc], L.[InvOrProc], L.[SectionID], H.[ID] AS [HistoryID], H.[ChangedBy] AS [SavedBy], CONVERT(varchar(19), H.[ChangedAt], 120) AS [SavedAt], H.[Action], H.[BatchNo], NULL AS [How], RV.[State], RV.[ReviewedBy], CONVERT(varchar(19), RV.[ReviewedAt], 120) AS [ReviewedAt], RV.[Note], RV.[HistoryID] AS [ReviewedHistoryID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_HISTORY] H WITH (NOLOCK) ON H.[ID] = HL.[LastID] ORDER BY L.[Category], L.[Code], L.[RevenueID], L.[ItemID], L.[ID];

-- Export all mappings; coverage by category: reads ESOA_ER_LINK, ESOA_ER
SELECT ISNULL(R.Category, L.Category) AS Category, L.Code, R.Description, R.FixedFee, R.ChargingUnit, L.Description AS LinkDescription, L.RevenueID, L.ItemID, L.ItemDesc, L.InvOrProc, L.SectionID, CASE WHEN R.ID IS NULL THEN 'code not in the list' WHEN UPPER(RTRIM(ISNULL(L.Description, ''))) <> UPPER(RTRIM(ISNULL(R.Description, ''))) THEN 'description changed' ELSE 'ok' END AS Status, 'to review' AS [Review], NULL AS [Reviewed by], NULL AS [Reviewed at] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT Code, MIN(ID) AS FirstID FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) GROUP BY Code) F ON F.Code = L.Code LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_ER] R WITH (NOLOCK) ON R.ID = F.FirstID ORDER BY ISNULL(R.Category, L.Category), L.Code, L.RevenueID, L.ItemID, L.ItemDesc;

-- Export all mappings; coverage by category: reads ESOA_ER, ESOA_ER_LINK
SELECT MIN(Category) AS Category, SUM(Items) AS Items, SUM(Mapped) AS Mapped, SUM(Orphans) AS Orphans, SUM(Approved) AS Approved FROM (SELECT ISNULL(R.Category, '') AS Category, 1 AS Items, CASE WHEN M.Code IS NULL THEN 0 ELSE 1 END AS Mapped, 0 AS Orphans, ISNULL(M.Approved, 0) AS Approved FROM [Build_FIle].[dbo].[ESOA_ER] R WITH (NOLOCK) LEFT OUTER JOIN (SELECT DISTINCT Code, 0 AS Approved FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK)) M ON M.Code = R.Code UNION ALL SELECT ISNULL(L.Category, ''), 0, 0, 1, 0 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].[ESOA_ER] R2 WITH (NOLOCK) WHERE R2.Code = L.Code)) C GROUP BY UPPER(RTRIM(Category));

-- Export all mappings; coverage by category: reads ESOA_ER_LINK, ESOA_ER, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT ISNULL(R.Category, L.Category) AS Category, L.Code, R.Description, R.FixedFee, R.ChargingUnit, L.Description AS LinkDescription, L.RevenueID, L.ItemID, L.ItemDesc, L.InvOrProc, L.SectionID, CASE WHEN R.ID IS NULL THEN 'code not in the list' WHEN UPPER(RTRIM(ISNULL(L.Description, ''))) <> UPPER(RTRIM(ISNULL(R.Description, ''))) THEN 'description changed' ELSE 'ok' END AS Status, CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END AS [Review], CASE WHEN CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END = 'to review' THEN NULL ELSE RV.[ReviewedBy] END AS [Reviewed by], CASE WHEN CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END = 'to review' THEN NULL ELSE CONVERT(varchar(19), RV.[ReviewedAt], 120) END AS [Reviewed at] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT Code, MIN(ID) AS FirstID FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) GROUP BY Code) F ON F.Code = L.Code LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_ER] R WITH (NOLOCK) ON R.ID = F.FirstID LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] ORDER BY ISNULL(R.Category, L.Category), L.Code, L.RevenueID, L.ItemID, L.ItemDesc;

-- Export all mappings; coverage by category: reads ESOA_ER, ESOA_ER_LINK, ESOA_LINK_HISTORY, ESOA_LINK_REVIEW
SELECT MIN(Category) AS Category, SUM(Items) AS Items, SUM(Mapped) AS Mapped, SUM(Orphans) AS Orphans, SUM(Approved) AS Approved FROM (SELECT ISNULL(R.Category, '') AS Category, 1 AS Items, CASE WHEN M.Code IS NULL THEN 0 ELSE 1 END AS Mapped, 0 AS Orphans, ISNULL(M.Approved, 0) AS Approved FROM [Build_FIle].[dbo].[ESOA_ER] R WITH (NOLOCK) LEFT OUTER JOIN (SELECT L.Code, MIN(CASE WHEN CASE WHEN RV.[ID] IS NULL OR ISNULL(HL.[LastID], 0) > ISNULL(RV.[HistoryID], 0) THEN 'to review' ELSE RV.[State] END = 'approved' THEN 1 ELSE 0 END) AS Approved FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_HISTORY] WITH (NOLOCK) WHERE [LinkTable]=? GROUP BY [LinkID]) HL ON HL.[LinkID] = L.[ID] LEFT OUTER JOIN (SELECT [LinkID], MAX([ID]) AS [LastID] FROM [Build_FIle].[dbo].[ESOA_LINK_REVIEW] WITH (NOLOCK) WHERE [TableName]=? GROUP BY [LinkID]) RL ON RL.[LinkID] = L.[ID] LEFT OUTER JOIN [Build_FIle].[dbo].[ESOA_LINK_REVIEW] RV WITH (NOLOCK) ON RV.[ID] = RL.[LastID] GROUP BY L.Code) M ON M.Code = R.Code UNION ALL SELECT ISNULL(L.Category, ?), ?, ?, ?, ? FROM [Build_FIle].[dbo].[ESOA_ER_LINK] L WITH (NOLOCK) WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].[ESOA_ER] R2 WITH (NOLOCK) WHERE R2.Code = L.Code)) C GROUP BY UPPER(RTRIM(Category));

-- b. Scan && Import: reads ESOA_ER
SELECT * FROM [Build_FIle].[dbo].ESOA_ER WHERE Code = ?;

-- b. Scan && Import: writes ESOA_ER
-- New codes of the batch, a row to a statement (what is left of a hundred when the batch
-- commits), each added only while no row holds its code, read under UPDLOCK and HOLDLOCK.
INSERT INTO [Build_FIle].[dbo].ESOA_ER ([Code], [Category], [Description], [FixedFee], [ChargingUnit]) SELECT [Code], [Category], [Description], [FixedFee], [ChargingUnit] FROM (SELECT ? AS [Code], ? AS [Category], ? AS [Description], ? AS [FixedFee], ? AS [ChargingUnit]) AS [adds] WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ER AS [known] WITH (UPDLOCK, HOLDLOCK) WHERE [known].[Code] = [adds].[Code]);

-- b. Scan && Import: writes ESOA_ER
-- A line whose fee the money column refused, added on its own without it: only while no row
-- meets the look-up's condition (read under UPDLOCK and HOLDLOCK), its new ID returned through
-- @added: no @@IDENTITY, no OUTPUT without INTO (which a trigger on the table would refuse).
-- not checked by the parser: sqlglot 10.6 cannot parse the OUTPUT ... INTO clause
SET NOCOUNT ON; DECLARE @added TABLE ([ID] bigint); INSERT INTO [Build_FIle].[dbo].ESOA_ER ([Code], [Category], [Description], [ChargingUnit]) OUTPUT INSERTED.[ID] INTO @added SELECT ?, ?, ?, ? WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ER WITH (UPDLOCK, HOLDLOCK) WHERE Code = ?); SET NOCOUNT OFF; SELECT [ID] FROM @added;

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ER
SELECT [ID], [Code], [Category], [Description], [FixedFee], [ChargingUnit] FROM [Build_FIle].[dbo].[ESOA_ER] WITH (NOLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ER_LINK
SELECT [ID], [RevenueID], [ItemID], [Code], [Category], [Description], [FixedFee], [ChargingUnit], [ItemDesc], [InvOrProc], [SectionID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ER
SELECT [ID], [Code], [Category], [Description], [FixedFee], [ChargingUnit] FROM [Build_FIle].[dbo].[ESOA_ER] WITH (TABLOCKX, HOLDLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: reads ESOA_ER_LINK
SELECT [ID], [RevenueID], [ItemID], [Code], [Category], [Description], [FixedFee], [ChargingUnit], [ItemDesc], [InvOrProc], [SectionID] FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (UPDLOCK, HOLDLOCK) ORDER BY [ID];

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ER
INSERT INTO [Build_FIle].[dbo].[ESOA_ER] ([Code], [Category], [Description], [FixedFee], [ChargingUnit]) VALUES (?, ?, ?, ?, ?);

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ER
UPDATE [Build_FIle].[dbo].[ESOA_ER] SET [Category] = ?, [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ? WHERE [ID] = ?;

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ER
DELETE FROM [Build_FIle].[dbo].[ESOA_ER] WHERE [ID] = ?;

-- c. Update from new list..., Apply, re-map, undo, List versions...: writes ESOA_ER_LINK
UPDATE [Build_FIle].[dbo].[ESOA_ER_LINK] SET [Description] = ?, [FixedFee] = ?, [ChargingUnit] = ? WHERE [ID] = ?;

-- Import drug register... (twice): reads ESOA_DRUG_REGISTER
-- Whether the register's table is there; when it is not, the three statements below make it in
-- the import's transaction.
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] WITH (NOLOCK);

-- Import drug register... (twice): writes ESOA_DRUG_REGISTER
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_DRUG_REGISTER]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [RegistrationNumber] [varchar](50) NULL, [GenericName] [varchar](1000) NULL, [BrandName] [varchar](250) NULL, [DosageStrength] [varchar](250) NULL, [DosageForm] [varchar](250) NULL, [ImportedAt] [datetime] NOT NULL, [ImportedBy] [nvarchar](128) NULL);

-- Import drug register... (twice): writes ESOA_DRUG_REGISTER
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_DRUG_REGISTER]( [ID] Asc);

-- Import drug register... (twice): writes ESOA_DRUG_REGISTER
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_BrandName] ON [Build_File].[dbo].[ESOA_DRUG_REGISTER]( [BrandName] Asc);

-- Import drug register... (twice): writes ESOA_DRUG_REGISTER
-- The import replaces the register whole: this DELETE, then the INSERTs below, in one
-- BEGIN TRANSACTION ... COMMIT TRANSACTION (ROLLBACK TRANSACTION when cancelled or refused).
DELETE FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER];

-- Import drug register... (twice): writes ESOA_DRUG_REGISTER
INSERT INTO [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] ([RegistrationNumber], [GenericName], [BrandName], [DosageStrength], [DosageForm], [ImportedAt], [ImportedBy]) VALUES (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME()), (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME());

-- Import drug register... (twice): writes ESOA_DRUG_REGISTER
INSERT INTO [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] ([RegistrationNumber], [GenericName], [BrandName], [DosageStrength], [DosageForm], [ImportedAt], [ImportedBy]) VALUES (?, ?, ?, ?, ?, GETDATE(), SUSER_SNAME());

-- Suggestions (F3) with the drug register imported: reads ESOA_DRUG_REGISTER
SELECT BrandName, GenericName, DosageStrength, DosageForm FROM [Build_FIle].[dbo].[ESOA_DRUG_REGISTER] WITH (NOLOCK) WHERE BrandName <> ?;

-- Choice of the PhilHealth table: reads ESOA_ITEM
SELECT * FROM [Build_FIle].[dbo].[ESOA_ITEM] WITH (NOLOCK) WHERE 1=1 AND Description like ?;

-- a. Create Tables: writes tbInvMaster
ALTER TABLE INVENTORY..tbInvMaster DROP COLUMN ESOA_Code;

-- a. Create Tables: writes tbCoXrayExam
ALTER TABLE BUILD_FILE..tbCoXrayExam DROP COLUMN ESOA_Code;

-- a. Create Tables: writes tbcoUltraExam
ALTER TABLE BUILD_FILE..tbcoUltraExam DROP COLUMN ESOA_Code;

-- a. Create Tables: writes tbcoCTExam
ALTER TABLE BUILD_FILE..tbcoCTExam DROP COLUMN ESOA_Code;

-- a. Create Tables: writes ESOA_ITEM
DROP TABLE [Build_FIle].[dbo].[ESOA_ITEM];

-- a. Create Tables: writes ESOA_ITEM
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_ITEM]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [Code] [varchar](50) NULL, [Category] [varchar](50) NULL, [Description] [varchar](250) NULL, [FixedFee] SMALLMONEY NULL, [ChargingUnit] [varchar](50) NULL,);

-- a. Create Tables: writes ESOA_ITEM
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_ITEM]( [ID] Asc);

-- a. Create Tables: writes ESOA_ITEM
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Category_Description] ON [Build_File].[dbo].[ESOA_ITEM]( [Category] Asc, [Description] Asc);

-- a. Create Tables: writes ESOA_ITEM_LINK
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_ITEM_LINK]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [Code] [varchar](50) NULL, [Category] [varchar](50) NULL, [Description] [varchar](250) NULL, [FixedFee] SMALLMONEY NULL, [ChargingUnit] [varchar](50) NULL, [ItemID] [varchar](50) NULL, [ItemDesc] [varchar](250) NULL, [InvOrProc] [varchar](20) NULL, [RevenueID] [varchar](20) NULL, [SectionID] [varchar](20) NULL, [SortOrder] [smallint] NULL );

-- a. Create Tables: writes ESOA_ITEM_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_ITEM_LINK]( [ID] Asc);

-- a. Create Tables: writes ESOA_ITEM_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Category_Description] ON [Build_File].[dbo].[ESOA_ITEM_LINK]( [Category] Asc, [Description] Asc);

-- a. Create Tables: writes ESOA_ITEM_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_ItemID] ON [Build_File].[dbo].[ESOA_ITEM_LINK]( [RevenueID] Asc, [ItemID] Asc );

-- a. Create Tables: writes ESOA_ITEM
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_ITEM]( [Code] Asc);

-- a. Create Tables: writes ESOA_ITEM_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_ITEM_LINK]( [Code] Asc);

-- a. Create Tables: writes ESOA_LINK_HISTORY
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_LINK_HISTORY]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [ChangedAt] [datetime] NOT NULL, [ChangedBy] [nvarchar](128) NULL, [Workstation] [nvarchar](128) NULL, [LinkTable] [varchar](128) NOT NULL, [LinkID] [bigint] NULL, [Action] [varchar](10) NOT NULL, [RevenueID] [varchar](20) NULL, [ItemID] [varchar](50) NULL, [OldCode] [varchar](50) NULL, [OldCategory] [varchar](50) NULL, [OldDescription] [varchar](250) NULL, [OldFixedFee] SMALLMONEY NULL, [OldChargingUnit] [varchar](50) NULL, [OldItemDesc] [varchar](250) NULL, [OldInvOrProc] [varchar](20) NULL, [OldSectionID] [varchar](20) NULL, [NewCode] [varchar](50) NULL, [NewCategory] [varchar](50) NULL, [NewDescription] [varchar](250) NULL, [NewFixedFee] SMALLMONEY NULL, [NewChargingUnit] [varchar](50) NULL, [NewItemDesc] [varchar](250) NULL, [NewInvOrProc] [varchar](20) NULL, [NewSectionID] [varchar](20) NULL, [BatchNo] [bigint] NULL, [How] [varchar](40) NULL);

-- a. Create Tables: writes ESOA_LINK_HISTORY
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_LINK_HISTORY]( [ID] Asc);

-- a. Create Tables: writes ESOA_LINK_HISTORY
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Item] ON [Build_File].[dbo].[ESOA_LINK_HISTORY]( [LinkTable] Asc, [RevenueID] Asc, [ItemID] Asc);

-- a. Create Tables: writes ESOA_LINK_HISTORY
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Link] ON [Build_File].[dbo].[ESOA_LINK_HISTORY]( [LinkTable] Asc, [LinkID] Asc);

-- a. Create Tables: writes ESOA_LINK_HISTORY
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_BatchNo] ON [Build_File].[dbo].[ESOA_LINK_HISTORY]( [BatchNo] Asc);

-- a. Create Tables: writes ESOA_LINK_HISTORY
-- Gives a history made before its column How (what made each change: a save, a Map ALL, a
-- proposal and its score, a re-map, a list update) that column; the first save of a run does the
-- same. Fails, and is skipped, where the column is there; where the login may not alter the
-- table, the history goes on without it.
-- may be refused: it needs ALTER on ESOA_LINK_HISTORY, once.
ALTER TABLE [Build_FIle].[dbo].[ESOA_LINK_HISTORY] ADD [How] varchar(40) NULL;

-- a. Create Tables: reads ESOA_ITEM_LINK
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ITEM_LINK] WITH (NOLOCK);

-- a. Create Tables: writes ESOA_ER
DROP TABLE [Build_FIle].[dbo].[ESOA_ER];

-- a. Create Tables: writes ESOA_ER
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_ER]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [Code] [varchar](50) NULL, [Category] [varchar](50) NULL, [Description] [varchar](250) NULL, [FixedFee] SMALLMONEY NULL, [ChargingUnit] [varchar](50) NULL,);

-- a. Create Tables: writes ESOA_ER
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_ER]( [ID] Asc);

-- a. Create Tables: writes ESOA_ER
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Category_Description] ON [Build_File].[dbo].[ESOA_ER]( [Category] Asc, [Description] Asc);

-- a. Create Tables: writes ESOA_ER_LINK
-- not checked by the parser: sqlglot 10.6 cannot parse type names in brackets ([bigint])
CREATE TABLE [Build_FIle].[dbo].[ESOA_ER_LINK]( [ID] [bigint] IDENTITY(1,1) NOT NULL, [Code] [varchar](50) NULL, [Category] [varchar](50) NULL, [Description] [varchar](250) NULL, [FixedFee] SMALLMONEY NULL, [ChargingUnit] [varchar](50) NULL, [ItemID] [varchar](50) NULL, [ItemDesc] [varchar](250) NULL, [InvOrProc] [varchar](20) NULL, [RevenueID] [varchar](20) NULL, [SectionID] [varchar](20) NULL, [SortOrder] [smallint] NULL );

-- a. Create Tables: writes ESOA_ER_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE CLUSTERED INDEX [by_ID] ON [Build_File].[dbo].[ESOA_ER_LINK]( [ID] Asc);

-- a. Create Tables: writes ESOA_ER_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Category_Description] ON [Build_File].[dbo].[ESOA_ER_LINK]( [Category] Asc, [Description] Asc);

-- a. Create Tables: writes ESOA_ER_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_ItemID] ON [Build_File].[dbo].[ESOA_ER_LINK]( [RevenueID] Asc, [ItemID] Asc );

-- a. Create Tables: writes ESOA_ER
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_ER]( [Code] Asc);

-- a. Create Tables: writes ESOA_ER_LINK
-- not checked by the parser: sqlglot 10.6 keeps CREATE INDEX as an opaque command
CREATE NONCLUSTERED INDEX [by_Code] ON [Build_File].[dbo].[ESOA_ER_LINK]( [Code] Asc);

-- a. Create Tables: reads ESOA_ER_LINK
SELECT TOP 1 1 FROM [Build_FIle].[dbo].[ESOA_ER_LINK] WITH (NOLOCK);

-- Check this database... (on the embedded database)
-- The end of the check's round trip: its test link, rewrite, history row and delete are never
-- committed. Sent on SQL Server too.
ROLLBACK TRANSACTION;

-- Check this database... (on SQL Server): reads the server's version and edition
SELECT SERVERPROPERTY('ProductVersion') AS [ProductVersion], SERVERPROPERTY('ProductLevel') AS [ProductLevel], SERVERPROPERTY('Edition') AS [Edition];

-- Check this database... (on SQL Server): reads the login and its database user
SELECT SUSER_SNAME() AS [Login], USER_NAME() AS [UserName], DB_NAME() AS [CurrentDatabase];

-- Check this database... (on SQL Server): reads the collations of Build_FIle and Inventory
SELECT DATABASEPROPERTYEX('Build_FIle', 'Collation') AS [Build_FIle], DATABASEPROPERTYEX('Inventory', 'Collation') AS [Inventory];

-- Check this database... (on SQL Server): reads INFORMATION_SCHEMA.COLUMNS of Build_FIle
-- The columns of ESOA_ITEM, ESOA_ITEM_LINK, ESOA_ER, ESOA_ER_LINK, ESOA_LINK_HISTORY,
-- ESOA_DRUG_REGISTER, the three ESOA_LIST_ tables and ESOA_LINK_REVIEW, compared with the
-- program's CREATE TABLE statements.
SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE, COLLATION_NAME FROM [Build_FIle].INFORMATION_SCHEMA.COLUMNS WHERE TABLE_SCHEMA = ? AND TABLE_NAME IN (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ORDER BY TABLE_NAME, ORDINAL_POSITION;

-- Check this database... (on SQL Server): reads sys.indexes, sys.tables, sys.schemas, sys.index_columns, sys.columns of Build_FIle
SELECT t.name AS [TableName], i.name AS [IndexName], i.type_desc AS [IndexType], c.name AS [ColumnName] FROM [Build_FIle].sys.indexes i JOIN [Build_FIle].sys.tables t ON t.object_id = i.object_id JOIN [Build_FIle].sys.schemas s ON s.schema_id = t.schema_id JOIN [Build_FIle].sys.index_columns ic ON ic.object_id = i.object_id AND ic.index_id = i.index_id JOIN [Build_FIle].sys.columns c ON c.object_id = ic.object_id AND c.column_id = ic.column_id WHERE s.name = ? AND t.name IN (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) AND ic.key_ordinal > ? ORDER BY t.name, i.name, ic.key_ordinal;

-- Check this database... (on SQL Server): reads sys.triggers, sys.tables of Build_FIle
-- The triggers on ESOA_ITEM_LINK, ESOA_ER_LINK and ESOA_LINK_HISTORY.
SELECT t.name AS [TableName], tr.name AS [TriggerName], tr.is_disabled AS [IsDisabled], tr.is_instead_of_trigger AS [IsInsteadOf] FROM [Build_FIle].sys.triggers tr JOIN [Build_FIle].sys.tables t ON t.object_id = tr.parent_id WHERE t.name IN (?, ?, ?) ORDER BY t.name, tr.name;

-- Check this database... (on SQL Server): reads sys.objects, sys.schemas of Build_FIle
-- Once for each table of Build_FIle the program reads or writes (the exam tables as tbRevenues
-- names them): the login's rights on it. No row: the table is not there, or not visible to it.
SELECT HAS_PERMS_BY_NAME('[Build_FIle].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'SELECT') AS [SELECT], HAS_PERMS_BY_NAME('[Build_FIle].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'INSERT') AS [INSERT], HAS_PERMS_BY_NAME('[Build_FIle].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'UPDATE') AS [UPDATE], HAS_PERMS_BY_NAME('[Build_FIle].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'DELETE') AS [DELETE], HAS_PERMS_BY_NAME('[Build_FIle].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'ALTER') AS [ALTER] FROM [Build_FIle].sys.objects o JOIN [Build_FIle].sys.schemas s ON s.schema_id = o.schema_id WHERE s.name = ? AND o.name = ?;

-- Check this database... (on SQL Server): reads sys.objects, sys.schemas of Inventory
-- Once for each table of Inventory the program reads (tbInvMaster, tbForGeneric).
SELECT HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'SELECT') AS [SELECT], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'INSERT') AS [INSERT], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'UPDATE') AS [UPDATE], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'DELETE') AS [DELETE], HAS_PERMS_BY_NAME('[Inventory].[dbo].' + QUOTENAME(o.name), 'OBJECT', 'ALTER') AS [ALTER] FROM [Inventory].sys.objects o JOIN [Inventory].sys.schemas s ON s.schema_id = o.schema_id WHERE s.name = ? AND o.name = ?;

-- Check this database... (on SQL Server): reads the login's right to create tables in Build_FIle
SELECT HAS_PERMS_BY_NAME('Build_FIle', 'DATABASE', 'CREATE TABLE') AS [CREATE TABLE];

-- Check this database... (on SQL Server)
-- From here on the server compiles each statement of this file without running it (every ? as
-- NULL, the exam table's names from a row of tbRevenues), until SET NOEXEC OFF below, which is
-- sent whatever happened.
-- not checked by the parser: sqlglot 10.6 keeps SET NOEXEC as an opaque command
SET NOEXEC ON;

-- Check this database... (on SQL Server)
-- not checked by the parser: sqlglot 10.6 keeps SET NOEXEC as an opaque command
SET NOEXEC OFF;

-- Check this database... (on SQL Server): reads sys.dm_exec_connections
-- Whether this session's connection is encrypted.
-- may be refused: it needs VIEW SERVER STATE.
SELECT encrypt_option FROM sys.dm_exec_connections WHERE session_id = @@SPID;

-- Check this database... (on SQL Server): reads this connection's properties
-- The same without VIEW SERVER STATE, sent where the one above is refused.
SELECT CONNECTIONPROPERTY('encrypt_option') AS [encrypt_option];

-- Check this database... (on SQL Server)
-- Sent right after SET NOEXEC ON: with NOEXEC on it returns no row. A row means it ran, and
-- nothing is compiled.
SELECT 1 AS [Executed];

-- b. Scan && Import (a hundred new codes): writes ESOA_ITEM
-- The same for a hundred new codes in one statement.
INSERT INTO [Build_FIle].[dbo].ESOA_ITEM ([Code], [Category], [Description]) SELECT [Code], [Category], [Description] FROM (SELECT ? AS [Code], ? AS [Category], ? AS [Description] UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ? UNION ALL SELECT ?, ?, ?) AS [adds] WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ITEM AS [known] WITH (UPDLOCK, HOLDLOCK) WHERE [known].[Code] = [adds].[Code]);

-- b. Scan && Import (a hundred new codes): writes ESOA_ER
-- The same for a hundred new codes in one statement.
INSERT INTO [Build_FIle].[dbo].ESOA_ER ([Code], [Category], [Description], [FixedFee], [ChargingUnit]) SELECT [Code], [Category], [Description], [FixedFee], [ChargingUnit] FROM (SELECT ? AS [Code], ? AS [Category], ? AS [Description], ? AS [FixedFee], ? AS [ChargingUnit] UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ? UNION ALL SELECT ?, ?, ?, ?, ?) AS [adds] WHERE NOT EXISTS (SELECT ? FROM [Build_FIle].[dbo].ESOA_ER AS [known] WITH (UPDLOCK, HOLDLOCK) WHERE [known].[Code] = [adds].[Code]);

-- c. Update from new list... (a hundred rows): writes ESOA_ITEM
INSERT INTO [Build_FIle].[dbo].[ESOA_ITEM] ([Code], [Category], [Description]) VALUES (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?), (?, ?, ?);

-- c. Update from new list... (a hundred rows): writes ESOA_LINK_HISTORY
INSERT INTO [Build_FIle].[dbo].[ESOA_LINK_HISTORY] ([ChangedAt], [ChangedBy], [Workstation], [LinkTable], [LinkID], [Action], [RevenueID], [ItemID], [OldCode], [OldCategory], [OldDescription], [OldFixedFee], [OldChargingUnit], [OldItemDesc], [OldInvOrProc], [OldSectionID], [NewCode], [NewCategory], [NewDescription], [NewFixedFee], [NewChargingUnit], [NewItemDesc], [NewInvOrProc], [NewSectionID], [BatchNo], [How]) VALUES (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?), (GETDATE(), SUSER_SNAME(), HOST_NAME(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);

-- c. Update from new list... (a hundred rows): writes ESOA_ER
INSERT INTO [Build_FIle].[dbo].[ESOA_ER] ([Code], [Category], [Description], [FixedFee], [ChargingUnit]) VALUES (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?), (?, ?, ?, ?, ?);

-- c. Update from new list... (a hundred rows): writes ESOA_LIST_RETIRED
INSERT INTO [Build_FIle].[dbo].[ESOA_LIST_RETIRED] ([TableName], [Code], [Category], [Description], [FixedFee], [ChargingUnit], [VersionID]) VALUES (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?);

-- c. Update from new list... (a hundred rows): writes ESOA_LIST_CHANGE
INSERT INTO [Build_FIle].[dbo].[ESOA_LIST_CHANGE] ([VersionID], [TableName], [Change], [Code], [Field], [OldValue], [NewValue]) VALUES (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?);
