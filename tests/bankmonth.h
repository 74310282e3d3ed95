#pragma once

#include "workspace.h"

// March 2026: two employees paid (an account with a leading zero, and pay after a
// deduction), one without any account row, one with an empty account, one with nothing to
// pay and one who owes. April has other figures, which March's file must not take.
inline void addBankMonth(const Workspace &workspace) {
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0'),('扣款',0,'1')");
    workspace.exec("insert into GZB (ny,ygh,xm,f1,k1) values "
                   "('202603',1,'张三',123456700,0),"
                   "('202603',2,'李四',30000000,1000000),"
                   "('202603',3,'王五',50000000,0),"
                   "('202603',4,'赵六',0,0),"
                   "('202603',5,'钱七',0,500000),"
                   "('202603',6,'孙八',10000000,0),"
                   "('202604',1,'张三',10000,0)");
    workspace.exec("insert into YGZJ (ygh,zjhm,khyh,yhzh,sjhm) values "
                   "(1,'110101199001011234','工商银行','0012345678','13800000001'),"
                   "(2,'110101199001015678','建设银行','6222000011112222','13800000002'),"
                   "(4,'110101199001019999','农业银行','6228000000000004',null),"
                   "(5,'110101199001018888','农业银行','6228000000000005',null),"
                   "(6,'110101199001017777','农业银行','',null)");
}
