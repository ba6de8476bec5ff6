-- Demo data of the company DODaza60: a few users, customers, invoice drafts, the programs, the
-- system parameters, notification settings and the message texts the option forms show.

INSERT INTO QMXCOMPANY (COMPANY, NAME, TAXNO, ADDRESS) VALUES
    ('DODaza60', '诺维克演示有限公司', '91310000MA1FL0DX2K', '上海市浦东新区张江路88号');

INSERT INTO QMXPARAM (COMPANY, PARAMNAME, PARAMVALUE, REMARK) VALUES
    ('', 'Sys001', '1', '日期格式: 1 年月日 2 月日年 3 日月年 4/5 民国年'),
    ('', 'Sys002', '/', '日期分隔符'),
    ('', 'QMX002', 'QMX 企业资源计划', '系统名称'),
    ('DODaza60', 'QMX002', '诺维克演示公司', '系统名称'),
    ('DODaza60', 'SYS007', '品牌', '商品分类方式一'),
    ('DODaza60', 'SYS008', '系列', '商品分类方式二'),
    ('DODaza60', 'SYS009', '', '商品分类方式三'),
    ('DODaza60', 'COMPANYNAME', '诺维克演示有限公司', '公司名称');

INSERT INTO ADMMB (MB001, MB002, MB003, MB004, MB005, MB006, MB007, MB008) VALUES
    ('KLNB07', '销项发票底稿导出', 'KLN', 'N', 'B', '870401-0.00.00', 'KLNB07C.dll', 'Export of Sales Invoice Drafts'),
    ('KLNB08', '销项发票底稿批量过账', 'KLN', 'Y', 'B', '870401-0.00.00', 'KLNB08C.dll', 'Batch Posting of Sales Invoice Drafts'),
    ('KLNR01', '销项发票底稿清单', 'KLN', 'N', 'R', '870401-0.00.00', 'KLNR01C.dll', 'List of Sales Invoice Drafts');

INSERT INTO QMXMA (MA001, MA002, MA003, MA004, MA005, MA006) VALUES
    ('796', '王小明', '13800138000', 'xiaoming.wang@norvik-demo.cn', 'ADMIN', 'Y'),
    ('DS', '系统管理员', '', 'admin@norvik-demo.cn', 'ADMIN', 'Y'),
    ('A001', '李静', '13912345678', 'jing.li@norvik-demo.cn', 'SALES', 'Y'),
    ('A002', '张伟', '13698765432', 'wei.zhang@norvik-demo.cn', 'SALES', 'Y'),
    ('F001', '陈芳', '13511112222', 'fang.chen@norvik-demo.cn', 'FIN', 'Y'),
    ('F002', '刘洋', '', 'yang.liu@norvik-demo.cn', 'FIN', 'N');

-- 796 and DS may do everything; A001 sees only two customers in lookups; A002 may neither pick
-- several rows nor see amounts.
INSERT INTO ADMMF (MF001, MF002, MF003, MF004, MF005, MF006) VALUES
    ('796', '*', 'ADMIN', 'YYYYYYYY', '', ''),
    ('DS', '*', 'ADMIN', 'YYYYYYYY', '', ''),
    ('A001', 'KLNB07', 'SALES', 'YYYYYYYY', 'COPMA', 'C0001,C0003'),
    ('A002', '*', 'SALES', 'YNNNYNNN', '', ''),
    ('F001', '*', 'FIN', 'YYYYYYYY', '', '');

INSERT INTO QMXINTMA (MA001, MA002, MA003) VALUES
    ('StartupPortal', '通知对象取Portal用户(Y/N)', 'N'),
    ('Portal WS', 'Portal Web Service 地址', ''),
    ('TaxInterface', '金税接口版本', '6.0');

INSERT INTO QMXMSG (MS001, MS002, MS003, MS004) VALUES
    ('E', '000005', '日期或年月格式不正确! %s', 'Invalid date or year-month! %s'),
    ('E', '000006', '无法连接应用服务器, 程序即将关闭!', 'Cannot connect to the application server; the program closes.'),
    ('E', '000013', '作业登记失败: %s', 'The job was not registered: %s'),
    ('E', '000015', '找不到派班中心的注册信息 (Software\QMX\Taskora)!', 'The registry key of the dispatch center (Software\QMX\Taskora) is missing!'),
    ('E', '000016', '派班中心客户端没有设置服务器主机 (ComputerName)!', 'The dispatch center client names no server (ComputerName)!'),
    ('E', '000030', '填写条件参数失败! %s', 'The condition rows could not be filled! %s'),
    ('E', '000036', '此窗体不属于当前程序!', 'This form does not belong to the program!'),
    ('E', '000037', '必须输入的字段不可空白!', 'A required field is empty!'),
    ('E', '000038', '启动参数不足!', 'Too few start parameters!'),
    ('E', '100082', '%s不可早于%s!', '%s must not be before %s!'),
    ('I', '000003', '没有可以执行的条件! %s', 'Nothing to submit! %s'),
    ('I', '000004', '作业已交给派班中心, 作业编号: %s', 'The job was handed to the dispatch center, job number: %s'),
    ('I', '000009', '请检查运行日期', 'Please check the run date'),
    ('I', '000010', '与运行时间!', ' and the run time!'),
    ('I', '000011', '条件文字', 'condition texts'),
    ('R', '200235', '条件方案与窗体不符, 部分条件未能载入!', 'The scheme does not fit the form; some conditions were not loaded!'),
    ('W', '000002', '%s的行数不符: 应为 %s 行, 实际上限为 %s!', '%s has the wrong number of rows: %s expected, high bound %s!'),
    ('W', '000003', '%s不完整: 共 %s 行, 第 %s 行没有内容!', '%s is incomplete: %s rows, row %s is missing!'),
    ('W', '000014', '主机传来的状态记录与窗体不符, 不予执行!', 'The state record from the host does not fit the form; nothing is run!'),
    ('B', '200002', '派班中心主机', 'Dispatch center host');

INSERT INTO QMXPHRASE (PH001, PH002, PH003) VALUES
    ('', 1, '请尽快处理'),
    ('', 2, '月底结账前完成'),
    ('796', 1, '仅导出专用发票');

INSERT INTO COPMA (MA001, MA002, MA003, MA004, MA005, MA006, MA007) VALUES
    ('C0001', '华东电子', '上海华东电子科技有限公司', '91310115MA1H7X2Q3B', '021-58881234', '上海市浦东新区科苑路100号', '工商银行张江支行 1001234509876543210'),
    ('C0002', '北辰五金', '北京北辰五金制品有限公司', '91110108MA01C5UJ8N', '010-62345678', '北京市海淀区中关村大街27号', '建设银行中关村支行 11001018800053012345'),
    ('C0003', '南粤贸易', '广州南粤进出口贸易有限公司', '91440101MA5CK1Y43R', '020-87654321', '广州市天河区体育西路191号', '招商银行天河支行 120906789010201'),
    ('C0004', '蜀都食品', '成都蜀都食品有限公司', '91510100MA61TQ9R5E', '028-86112233', '成都市武侯区人民南路四段9号', '农业银行武侯支行 22810101040012345'),
    ('C0005', '江南纺织', '苏州江南纺织品有限公司', '91320500MA1MNL7G0X', '0512-65432100', '苏州市工业园区星湖街328号', '中国银行园区支行 468858213456');

INSERT INTO TISTA (TA001, TA002, TA003, TA004, TA005, TA006, TA007, TA008, TA009, TA010) VALUES
    ('XF-20240105-001', '20240105', 'C0001', 'A', 12000.00, 1560.00, 13560.00, 'N', 'SO-2401-0003', '一月首批'),
    ('XF-20240112-002', '20240112', 'C0002', 'B', 3500.00, 455.00, 3955.00, 'N', 'SO-2401-0011', ''),
    ('XF-20240120-003', '20240120', 'C0003', 'A', 86000.00, 11180.00, 97180.00, 'N', 'SO-2401-0019', '分两次开票'),
    ('XF-20240202-004', '20240202', 'C0001', 'A', 4200.00, 546.00, 4746.00, 'Y', 'SO-2402-0002', ''),
    ('XF-20240215-005', '20240215', 'C0004', 'B', 980.00, 127.40, 1107.40, 'N', 'SO-2402-0010', '零星销售'),
    ('XF-20240301-006', '20240301', 'C0005', 'A', 23650.00, 3074.50, 26724.50, 'N', 'SO-2403-0001', '');

INSERT INTO TISTB (TB001, TB002, TB003, TB004, TB005, TB006, TB007, TB008, TB009, TB010, TB011) VALUES
    ('XF-20240105-001', '0001', 'P-1001', '工业控制板', 'ICB-200', '块', 40, 300.000000, 12000.00, 0.1300, 1560.00),
    ('XF-20240112-002', '0001', 'H-2001', '不锈钢合页', '100mm', '只', 500, 5.000000, 2500.00, 0.1300, 325.00),
    ('XF-20240112-002', '0002', 'H-2002', '门锁', 'L-35', '把', 50, 20.000000, 1000.00, 0.1300, 130.00),
    ('XF-20240120-003', '0001', 'T-3001', '出口纸箱', '60*40*40', '个', 20000, 4.300000, 86000.00, 0.1300, 11180.00),
    ('XF-20240202-004', '0001', 'P-1002', '电源模块', 'PM-12V', '个', 60, 70.000000, 4200.00, 0.1300, 546.00),
    ('XF-20240215-005', '0001', 'F-4001', '麻辣牛肉干', '250g', '袋', 70, 14.000000, 980.00, 0.1300, 127.40),
    ('XF-20240301-006', '0001', 'W-5001', '真丝面料', '16姆米', '米', 1100, 21.500000, 23650.00, 0.1300, 3074.50);

INSERT INTO TMCMC (MC001, MC002, MC003, MC004, MC005) VALUES
    ('KLN', '0001', '销项发票底稿导出完成通知', 'KLN', 'KLNB07');

INSERT INTO TMCMD (MD001, MD002, MD003, MD004, MD005, MD006, MD007) VALUES
    ('KLN', '0001', '0001', '6', '直接处理完成后通知作业人', 'Y',
     '<MD007><Receiver><R1 ID="796" Name="王小明" Type="1" Msg="YNN"/><R2 ID="F001" Name="陈芳" Mail="fang.chen@norvik-demo.cn" Type="1" Msg="YNY"/></Receiver><Title Value="销项发票底稿导出完成"/></MD007>||[**********]销项发票底稿已导出, 请到派班中心数据目录取文件。||作业完成通知'),
    ('KLN', '0001', '0002', '6', '停用的设置', 'N', '   ');

INSERT INTO ADMTD (TD001, TD002, TD003, TD004, TD005, TD006, TD007, TD008, TD009, COMPANY, CREATOR, CREATE_DATE, FLAG) VALUES
    ('20240301000001', 'DS', '<?xml version="1.0" encoding="GB2312"?><Root><R1 ID="796" Name="王小明" Type="1" Msg="YNN"/></Root>',
     '20240301090000000', 'Y', '系统维护通知', '', '周六晚上系统维护', '4', 'DODaza60', 'DS', '20240301090000000', 1);
