-- The hospital tables the mapping screen reads, as the hospital system keeps them.
-- T-SQL: the embedded database runs it through its rewriter; "GO" lines separate statements.
CREATE TABLE [Build_FIle].[dbo].[tbRevenues](
    [RevenueID]           [varchar](10)  NOT NULL,
    [RevenueName]         [varchar](100) NULL,
    [ExamTableName]       [varchar](100) NULL,
    [IDFieldName]         [varchar](100) NULL,
    [ExamFieldName]       [varchar](100) NULL,
    [SectionIDFieldName]  [varchar](100) NULL,
    [LocationID]          [varchar](10)  NULL,
    [Recordstatus]        [char](1)      NULL,
    CONSTRAINT [PK_tbRevenues] PRIMARY KEY CLUSTERED ([RevenueID] ASC)
)
GO
CREATE TABLE [Build_FIle].[dbo].[tbcorevenuecode](
    [RevenueID]     [varchar](10)  NOT NULL,
    [itemname]      [varchar](100) NULL,
    [Recordstatus]  [char](1)      NULL,
    [LocationID]    [varchar](10)  NULL,
    CONSTRAINT [PK_tbcorevenuecode] PRIMARY KEY CLUSTERED ([RevenueID] ASC)
)
GO
CREATE TABLE [Build_FIle].[dbo].[tbcoLabExam](
    [LabExamID]    [int]          NOT NULL,
    [LabExam]      [varchar](150) NULL,
    [Status]       [char](1)      NULL,
    [RegularRate]  [money]        NULL,
    CONSTRAINT [PK_tbcoLabExam] PRIMARY KEY CLUSTERED ([LabExamID] ASC)
)
GO
CREATE TABLE [Build_FIle].[dbo].[tbcoXRayExam](
    [XRayExamID]   [int]          NOT NULL,
    [XRayExam]     [varchar](150) NULL,
    [Status]       [char](1)      NULL,
    [RegularRate]  [money]        NULL,
    [ESOA_Code]    [varchar](50)  NULL,
    CONSTRAINT [PK_tbcoXRayExam] PRIMARY KEY CLUSTERED ([XRayExamID] ASC)
)
GO
CREATE TABLE [Build_FIle].[dbo].[tbcoUltraExam](
    [UltraExamID]  [int]          NOT NULL,
    [UltraExam]    [varchar](150) NULL,
    [Status]       [char](1)      NULL,
    [RegularRate]  [money]        NULL,
    [ESOA_Code]    [varchar](50)  NULL,
    CONSTRAINT [PK_tbcoUltraExam] PRIMARY KEY CLUSTERED ([UltraExamID] ASC)
)
GO
CREATE TABLE [Build_FIle].[dbo].[tbcoCTExam](
    [CTExamID]     [int]          NOT NULL,
    [CTExam]       [varchar](150) NULL,
    [Status]       [char](1)      NULL,
    [RegularRate]  [money]        NULL,
    [ESOA_Code]    [varchar](50)  NULL,
    CONSTRAINT [PK_tbcoCTExam] PRIMARY KEY CLUSTERED ([CTExamID] ASC)
)
GO
CREATE TABLE [Build_FIle].[dbo].[tbcoOtherRevenue](
    [OtherRevenueID]  [int]          NOT NULL,
    [OtherRevenue]    [varchar](150) NULL,
    [OtherSectionID]  [varchar](10)  NULL,
    [Status]          [char](1)      NULL,
    [RegularRate]     [money]        NULL,
    CONSTRAINT [PK_tbcoOtherRevenue] PRIMARY KEY CLUSTERED ([OtherRevenueID] ASC)
)
GO
CREATE NONCLUSTERED INDEX [by_Section] ON [Build_FIle].[dbo].[tbcoOtherRevenue]([OtherSectionID] ASC)
GO
CREATE TABLE [Inventory].[dbo].[tbForGeneric](
    [GenericID]    [int]          NOT NULL,
    [GenericName]  [varchar](150) NULL,
    CONSTRAINT [PK_tbForGeneric] PRIMARY KEY CLUSTERED ([GenericID] ASC)
)
GO
CREATE TABLE [Inventory].[dbo].[tbInvMaster](
    [ItemID]         [int]          NOT NULL,
    [ItemName]       [varchar](150) NULL,
    [ItemDesc]       [varchar](200) NULL,
    [GenericID]      [int]          NULL,
    [ListCost]       [money]        NULL,
    [itemstatus]     [tinyint]      NULL,
    [ESOA_Code]      [varchar](50)  NULL,
    [UnitOfMeasure]  [varchar](20)  NULL,
    [ItemClass]      [varchar](10)  NULL,
    CONSTRAINT [PK_tbInvMaster] PRIMARY KEY CLUSTERED ([ItemID] ASC)
)
GO
CREATE NONCLUSTERED INDEX [by_ItemName] ON [Inventory].[dbo].[tbInvMaster]([ItemName] ASC)
GO
CREATE NONCLUSTERED INDEX [by_GenericID] ON [Inventory].[dbo].[tbInvMaster]([GenericID] ASC)
GO
